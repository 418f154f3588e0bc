#include "controls/ChannelSelector.h"

namespace channel_selector {

const SelectorEntry* EntryForCode(int code) {
  for (const SelectorEntry& entry : SelectorTable)
    if (entry.code == code) return &entry;
  return nullptr;
}

}  // namespace channel_selector
