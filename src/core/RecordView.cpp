#include "core/RecordView.h"

#include "core/RecordSamples.h"

namespace core {

bool HoldsChannel(const Record& record, int channel) { return OwnSamples(record, channel).Count() > 0; }

FrameChannels ChannelsOfFrame(ChannelSource source, const Record& record, std::array<bool, 2> keys, int focused) {
  if (source == ChannelSource::PanelKeys) return {keys, focused};
  FrameChannels frame{{record.Channel(1).on, record.Channel(2).on}, focused};
  if (!HoldsChannel(record, focused)) frame.read = record.recordChannel;
  return frame;
}

}  // namespace core
