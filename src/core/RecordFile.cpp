#include "core/RecordFile.h"

#include "app/Errors.h"
#include "app/ReadoutText.h"
#include "controls/TimeKnob.h"
#include "controls/VerticalMarker.h"
#include "controls/VoltsKnob.h"
#include "core/RecordSamples.h"
#include "core/TraceAverage.h"
#include "storage/ExportFile.h"
#include "storage/TextLines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <functional>
#include <optional>

namespace record_file {

namespace {

// The description rows, in the order they stand in the file. Each is a
// name and one value, or a name and one value per channel.
enum Row {
  Received, Sequence, LayoutRow, TimeDiv, SamplePeriod, SampleRate, Rate1MS, RecordChannel, SamplesReceived,
  ChannelNames, On, Range, VoltsDiv, Scale, ZeroRow, CalOffset, RowCount
};
inline constexpr const char* RowNames[RowCount] = {
    "Received", "Sequence", "Layout", "Time/div", "Sample period us", "Sample rate", "1 MS/s", "Record channel",
    "Samples received", "Channel", "On", "Range", "Volts/div", "Scale", "0 V row", "Calibration offset",
};
constexpr bool PerChannel(int row) { return row >= ChannelNames; }

struct LayoutName {
  screen_model::RecordLayout layout;
  const char* name;
};
inline constexpr LayoutName LayoutNames[] = {
    {screen_model::RecordLayout::Standard, "standard"},
    {screen_model::RecordLayout::ThreeThousand, "3000-sample"},
    {screen_model::RecordLayout::Stretched, "stretched"},
};

inline constexpr const char* HighRangeName = "high";
inline constexpr const char* LowRangeName = "low";
inline constexpr const char* CountName = "Records";
inline constexpr const char* NumberName = "Record";
// The one row an averaged trace adds after its description; a record as it
// came has none, so its file is what it always was.
inline constexpr const char* AveragedName = "Averaged records";
// The panel's captions are a few characters; a file allows some more.
inline constexpr int MaxSampleRateLength = 40;

QString ChannelName(int channel) { return QStringLiteral("CH%1").arg(channel); }

QString LayoutText(screen_model::RecordLayout layout) {
  for (const LayoutName& row : LayoutNames)
    if (row.layout == layout) return QLatin1String(row.name);
  return QString();
}

const time_knob::TimeRow* TimeRowOfIndex(std::int32_t index) {
  for (const time_knob::TimeRow& row : time_knob::TimeRows)
    if (row.index == index) return &row;
  return nullptr;
}

// "5V/DIV": the knob row the scale and range name, as the caption under the
// screen shows it less the channel; empty for a scale no row has.
QString VoltsDivText(const core::RecordChannel& channel) {
  for (const volts_knob::VoltsRow& row : volts_knob::VoltsRows) {
    if (row.scale != channel.scale || row.highRange != channel.highRange) continue;
    const std::string_view caption = row.ch2Caption.substr(row.ch2Caption.find(' ') + 1);
    return QString::fromLatin1(caption.data(), qsizetype(caption.size()));
  }
  return QString();
}

QString VoltsText(std::uint8_t code, bool highRange) {
  return readout_text::FormatCursortext2(export_file::TenMillivolts(code, highRange));
}

QString ReceivedText(const QDateTime& received) {
  if (!received.isValid()) return QString();
  // The local time with its offset from UTC, so it reads back as the same
  // moment in any time zone.
  return received.toOffsetFromUtc(received.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

// The column names of a record's data lines.
QString ColumnsText(const core::Record& record, bool numbered) {
  QString text = numbered ? QLatin1String(NumberName) + u',' : QString();
  text += QLatin1String("Sample");
  for (int channel = 1; channel <= 2; ++channel) {
    if (core::OwnSamples(record, channel).Count() == 0) continue;
    text += QStringLiteral(",%1 code,%1 V").arg(ChannelName(channel));
  }
  return text;
}

QString Joined(const char* name, const QString& value) { return QLatin1String(name) + u',' + value; }
QString Joined(const char* name, const QString& ch1, const QString& ch2) {
  return QLatin1String(name) + u',' + ch1 + u',' + ch2;
}

QStringList DescriptionLines(const core::Record& r, const ZeroRows& zeroRows) {
  const time_knob::TimeRow* timeRow = TimeRowOfIndex(r.timeBaseIndex);
  if (!timeRow) {
    throw ScopeError(QStringLiteral("The record was taken on time base row %1, which the knob does not have; "
                                    "it cannot be saved")
                         .arg(r.timeBaseIndex));
  }
  if (r.sampleRateText.contains(u',') || r.sampleRateText.contains(u'\r') || r.sampleRateText.contains(u'\n') ||
      r.sampleRateText.size() > MaxSampleRateLength) {
    throw ScopeError(QStringLiteral("The record's sample rate \"%1\" cannot be saved").arg(r.sampleRateText.left(40)));
  }
  const core::RecordChannel& c1 = r.Channel(1);
  const core::RecordChannel& c2 = r.Channel(2);
  auto range = [](const core::RecordChannel& c) { return QLatin1String(c.highRange ? HighRangeName : LowRangeName); };
  QStringList lines;
  lines << Joined(RowNames[Received], ReceivedText(r.received))
        << Joined(RowNames[Sequence], QString::number(r.sequence))
        << Joined(RowNames[LayoutRow], LayoutText(screen_model::LayoutOf(r.timeBaseIndex, r.rate1MS ? 1 : 0)))
        << Joined(RowNames[TimeDiv], QString::fromLatin1(timeRow->timeDivText.data(),
                                                         qsizetype(timeRow->timeDivText.size())))
        << Joined(RowNames[SamplePeriod], QString::number(r.samplePeriodUs))
        << Joined(RowNames[SampleRate], r.sampleRateText)
        << Joined(RowNames[Rate1MS], QString::number(r.rate1MS ? 1 : 0))
        << Joined(RowNames[RecordChannel], ChannelName(r.recordChannel))
        << Joined(RowNames[SamplesReceived], QString::number(r.samplesReceived))
        << Joined(RowNames[ChannelNames], ChannelName(1), ChannelName(2))
        << Joined(RowNames[On], QString::number(c1.on ? 1 : 0), QString::number(c2.on ? 1 : 0))
        << Joined(RowNames[Range], range(c1), range(c2))
        << Joined(RowNames[VoltsDiv], VoltsDivText(c1), VoltsDivText(c2))
        << Joined(RowNames[Scale], QString::number(c1.scale), QString::number(c2.scale))
        << Joined(RowNames[ZeroRow], QString::number(zeroRows[0]), QString::number(zeroRows[1]))
        << Joined(RowNames[CalOffset], QString::number(c1.calOffset), QString::number(c2.calOffset));
  return lines;
}

void AppendRecord(QStringList& lines, const core::Record& record, const ZeroRows& zeroRows, int number) {
  const bool numbered = number > 0;
  if (numbered) lines << QString() << Joined(NumberName, QString::number(number));
  lines << DescriptionLines(record, zeroRows);
  if (record.averaged > 1) lines << Joined(AveragedName, QString::number(record.averaged));
  lines << QString() << ColumnsText(record, numbered);
  const QString prefix = numbered ? QString::number(number) + u',' : QString();
  const core::SampleSpan spans[2] = {core::OwnSamples(record, 1), core::OwnSamples(record, 2)};
  const int first = spans[0].Count() ? spans[0].first : spans[1].first;
  const int last = std::max(spans[0].last, spans[1].last);
  for (int k = first; k <= last; ++k) {
    QString line = prefix + QString::number(k);
    for (int channel = 1; channel <= 2; ++channel) {
      if (spans[channel - 1].Count() == 0) continue;
      const std::uint8_t code = record.Samples(channel)[std::size_t(k)];
      line += u',' + QString::number(code) + u',' + VoltsText(code, record.Channel(channel).highRange);
    }
    lines << line;
  }
}

// Writes the blocks of lines one after another into a temporary beside the
// file and renames it over the file once all are written, so a history is
// never held as text whole and a failure leaves the old file as it was.
void WriteBlocks(const QString& path, int blockCount, const std::function<QStringList(int)>& block) {
  QSaveFile file(path);
  const auto fail = [&path] {
    throw ScopeError(QStringLiteral("Cannot create file %1").arg(QDir::toNativeSeparators(path)));
  };
  if (!file.open(QIODevice::WriteOnly)) fail();
  for (int i = 0; i < blockCount; ++i) {
    const QByteArray bytes = text_lines::JoinLines(block(i)).toUtf8();
    if (file.write(bytes) != bytes.size()) fail();
  }
  if (!file.commit()) fail();
}

// A text cut for a message: a line of noise may be long and unprintable.
QString Shown(QStringView text) {
  QString shown = text.left(40).toString();
  for (QChar& c : shown)
    if (!c.isPrint()) c = u'?';
  return text.size() > 40 ? shown + QStringLiteral("...") : shown;
}

}  // namespace

QStringList RecordLines(const core::Record& record, const ZeroRows& zeroRows) {
  QStringList lines{QLatin1String(RecordTitle)};
  AppendRecord(lines, record, zeroRows, 0);
  return lines;
}

QStringList HistoryHeadLines(int recordCount) {
  return {QLatin1String(HistoryTitle), Joined(CountName, QString::number(recordCount))};
}

QStringList HistoryRecordLines(const core::Record& record, const ZeroRows& zeroRows, int number) {
  QStringList lines;
  AppendRecord(lines, record, zeroRows, number);
  return lines;
}

// ---- Reading ----

void Reader::Fail(const QString& what) const {
  throw ScopeError(QStringLiteral("Line %1 of the record file: %2; nothing was opened").arg(lineNumber_).arg(what));
}

QString Reader::Missing() const {
  const int number = int(records_.size());
  switch (expect_) {
    case Expect::Title: return QStringLiteral("its first line");
    case Expect::Count: return QStringLiteral("the number of records");
    case Expect::Gap:
    case Expect::Number: return QStringLiteral("record %1 of %2").arg(number + 1).arg(recordCount_);
    case Expect::Description:
      return QStringLiteral("the row \"%1\" of record %2").arg(QLatin1String(RowNames[descriptionRow_])).arg(number);
    case Expect::ColumnsGap:
    case Expect::Columns: return QStringLiteral("the column names of record %1").arg(number);
    case Expect::Data: {
      const SavedRecord& saved = records_.back();
      const int channel = core::OwnSamples(saved.record, 1).Count() ? 1 : 2;
      return QStringLiteral("sample %1 of record %2 (of %3 samples)")
          .arg(sampleLine_ + 1)
          .arg(number)
          .arg(core::OwnSamples(saved.record, channel).Count());
    }
    case Expect::End: break;
  }
  return QString();
}

void Reader::CheckSize(int records) const {
  if (fileBytes_ < 0 || fileBytes_ <= records * MaxRecordBytes + 4096) return;
  throw ScopeError(QStringLiteral("The file is %1 bytes, more than a record file of %2 record(s) takes; "
                                  "it is not a record file; nothing was opened")
                       .arg(fileBytes_)
                       .arg(records));
}

void Reader::Line(QStringView line) {
  ++lineNumber_;
  if (line.size() > MaxLineLength) Fail(QStringLiteral("the line is longer than any line of a record file"));
  switch (expect_) {
    case Expect::Title: return Title(line);
    case Expect::Count: return Count(line);
    case Expect::Gap:
      if (!line.isEmpty()) Fail(QStringLiteral("\"%1\" where an empty line belongs").arg(Shown(line)));
      expect_ = Expect::Number;
      return;
    case Expect::Number: {
      const QString want = Joined(NumberName, QString::number(records_.size() + 1));
      if (line != want) Fail(QStringLiteral("\"%1\" where \"%2\" belongs").arg(Shown(line), want));
      return BeginRecord();
    }
    case Expect::Description: return Description(line);
    case Expect::ColumnsGap:
      if (!line.isEmpty()) return Averaged(line);
      expect_ = Expect::Columns;
      return;
    case Expect::Columns: return Columns(line);
    case Expect::Data: return Data(line);
    case Expect::End:
      // Empty lines after the last record do no harm; anything else is not ours.
      if (!line.isEmpty()) Fail(QStringLiteral("\"%1\" after the last record").arg(Shown(line)));
      return;
  }
}

void Reader::Title(QStringView line) {
  if (line == QLatin1String(RecordTitle)) {
    kind_ = Kind::Record;
    recordCount_ = 1;
    CheckSize(1);
    return BeginRecord();
  }
  if (line == QLatin1String(HistoryTitle)) {
    kind_ = Kind::History;
    expect_ = Expect::Count;
    return;
  }
  Fail(QStringLiteral("\"%1\" is not \"%2\" or \"%3\"; this is not a record file")
           .arg(Shown(line), QLatin1String(RecordTitle), QLatin1String(HistoryTitle)));
}

void Reader::Count(QStringView line) {
  const QList<QStringView> cells = line.split(u',');
  if (cells.size() != 2 || cells[0] != QLatin1String(CountName))
    Fail(QStringLiteral("\"%1\" where \"%2,<number>\" belongs").arg(Shown(line), QLatin1String(CountName)));
  std::int32_t count = 0;
  try {
    count = StrToInt(cells[1].toString());
  } catch (const ScopeError& error) {
    Fail(error.Message());
  }
  if (count < 1 || count > core::RecordHistory::MaxCapacity)
    Fail(QStringLiteral("a history file holds 1 to %1 records, not %2")
             .arg(core::RecordHistory::MaxCapacity)
             .arg(count));
  recordCount_ = count;
  CheckSize(count);
  records_.reserve(std::size_t(count));
  expect_ = Expect::Gap;
}

void Reader::BeginRecord() {
  records_.emplace_back();
  descriptionRow_ = 0;
  sampleLine_ = 0;
  expect_ = Expect::Description;
}

// A description row's one value, checked: a whole number, a 0/1 flag or a
// channel's name.
std::int32_t Reader::IntValue(QStringView value) const {
  try {
    return StrToInt(value.toString());
  } catch (const ScopeError& error) {
    Fail(error.Message());
  }
}

bool Reader::FlagValue(QStringView value) const {
  if (value == u"0") return false;
  if (value == u"1") return true;
  Fail(QStringLiteral("\"%1\" where 0 or 1 belongs").arg(Shown(value)));
}

int Reader::ChannelValue(QStringView value) const {
  for (int channel = 1; channel <= 2; ++channel)
    if (value == ChannelName(channel)) return channel;
  Fail(QStringLiteral("\"%1\" where CH1 or CH2 belongs").arg(Shown(value)));
}

void Reader::Description(QStringView line) {
  const int row = descriptionRow_;
  const QList<QStringView> cells = line.split(u',');
  const qsizetype want = PerChannel(row) ? 3 : 2;
  if (cells.size() != want || cells[0] != QLatin1String(RowNames[row])) {
    Fail(QStringLiteral("\"%1\" where the row \"%2\" with %3 belongs")
             .arg(Shown(line), QLatin1String(RowNames[row]),
                  PerChannel(row) ? QStringLiteral("a value for each channel") : QStringLiteral("one value")));
  }
  SavedRecord& saved = records_.back();
  if (row == ChannelNames) {
    if (ChannelValue(cells[1]) != 1 || ChannelValue(cells[2]) != 2)
      Fail(QStringLiteral("the channels must be CH1,CH2"));
  } else if (PerChannel(row)) {
    for (int channel = 1; channel <= 2; ++channel) ChannelRow(row, channel, cells[channel], saved);
  } else {
    RecordRow(row, cells[1], saved.record);
  }
  ++descriptionRow_;
  if (descriptionRow_ == RowCount) expect_ = Expect::ColumnsGap;
}

void Reader::RecordRow(int row, QStringView value, core::Record& r) {
  switch (row) {
    case Received: return ReceivedRow(value, r);
    case Sequence: return SequenceRow(value, r);
    case LayoutRow: return LayoutNameRow(value, r);
    case TimeDiv: return TimeDivRow(value, r);
    case SamplePeriod: return SamplePeriodRow(value, r);
    case SampleRate:
      if (value.size() > MaxSampleRateLength)
        Fail(QStringLiteral("the sample rate is longer than any the panel shows"));
      r.sampleRateText = value.toString();
      return;
    case Rate1MS: return Rate1MSRow(value, r);
    case RecordChannel: r.recordChannel = ChannelValue(value); return;
    case SamplesReceived:
      r.samplesReceived = IntValue(value);
      if (r.samplesReceived < 0 || r.samplesReceived > capture_protocol::CaptureSampleCount)
        Fail(QStringLiteral("%1 samples received, outside 0..3000").arg(r.samplesReceived));
      return;
    default: return;
  }
}

void Reader::ReceivedRow(QStringView value, core::Record& r) {
  if (value.isEmpty()) return;
  r.received = QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
  if (!r.received.isValid()) Fail(QStringLiteral("\"%1\" is not a date and time").arg(Shown(value)));
  r.received = r.received.toLocalTime();
}

void Reader::SequenceRow(QStringView value, core::Record& r) {
  bool ok = false;
  const bool digits =
      !value.isEmpty() && std::all_of(value.begin(), value.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
  r.sequence = value.toULongLong(&ok);
  if (!digits || !ok) Fail(QStringLiteral("'%1' is not a valid record number").arg(Shown(value)));
  // Only a received record is saved, and it is read by its own
  // calibration; number 0 stands for no record at all.
  if (r.sequence == 0) Fail(QStringLiteral("record number 0 is no record received"));
}

void Reader::LayoutNameRow(QStringView value, core::Record& r) {
  bool known = false;
  for (const LayoutName& name : LayoutNames) {
    if (value != QLatin1String(name.name)) continue;
    r.layout = name.layout;
    known = true;
  }
  if (!known) Fail(QStringLiteral("\"%1\" is no record layout").arg(Shown(value)));
}

void Reader::TimeDivRow(QStringView value, core::Record& r) {
  const time_knob::TimeRow* found = nullptr;
  for (const time_knob::TimeRow& timeRow : time_knob::TimeRows)
    if (value == QLatin1String(timeRow.timeDivText.data(), qsizetype(timeRow.timeDivText.size()))) found = &timeRow;
  if (!found) Fail(QStringLiteral("\"%1\" is no time/div of the knob").arg(Shown(value)));
  r.timeBaseIndex = found->index;
}

// Checked against the time/div above, which the file names first.
void Reader::SamplePeriodRow(QStringView value, core::Record& r) {
  r.samplePeriodUs = IntValue(value);
  const std::int32_t rowPeriod = TimeRowOfIndex(r.timeBaseIndex)->samplePeriodUs;
  if (r.samplePeriodUs != rowPeriod) {
    Fail(QStringLiteral("a sample period of %1 us where the time/div above has %2 us")
             .arg(r.samplePeriodUs)
             .arg(rowPeriod));
  }
}

// The last of the rows that fix the layout, so the layout named above is
// checked here against the time base and rate.
void Reader::Rate1MSRow(QStringView value, core::Record& r) {
  r.rate1MS = FlagValue(value);
  if (r.rate1MS && r.timeBaseIndex != time_knob::FastestIndex)
    Fail(QStringLiteral("1 MS/s on a time base other than 50us/DIV"));
  const screen_model::RecordLayout layout = screen_model::LayoutOf(r.timeBaseIndex, r.rate1MS ? 1 : 0);
  if (layout != r.layout) {
    Fail(QStringLiteral("the layout above is %1, but its time base and rate make a %2 record")
             .arg(LayoutText(r.layout), LayoutText(layout)));
  }
}

void Reader::ChannelRow(int row, int channel, QStringView value, SavedRecord& saved) {
  const std::size_t i = std::size_t(channel - 1);
  core::RecordChannel& c = saved.record.channels[i];
  switch (row) {
    case On: c.on = FlagValue(value); return;
    case Range:
      if (value == QLatin1String(HighRangeName)) c.highRange = true;
      else if (value == QLatin1String(LowRangeName)) c.highRange = false;
      else Fail(QStringLiteral("\"%1\" where high or low belongs").arg(Shown(value)));
      return;
    case VoltsDiv: voltsDivTexts_[i] = value.toString(); return;  // checked with the scale
    case Scale: return ScaleRow(channel, value, c);
    case ZeroRow: saved.zeroRows[i] = ZeroRowValue(channel, value); return;
    case CalOffset: c.calOffset = IntValue(value); return;
    default: return;
  }
}

void Reader::ScaleRow(int channel, QStringView value, core::RecordChannel& c) {
  const std::size_t i = std::size_t(channel - 1);
  c.scale = IntValue(value);
  const QString named = VoltsDivText(c);
  if (named != voltsDivTexts_[i]) {
    Fail(QStringLiteral("%1's scale %2 on the %3 range is %4, not the volts/div \"%5\" above")
             .arg(ChannelName(channel))
             .arg(c.scale)
             .arg(QLatin1String(c.highRange ? HighRangeName : LowRangeName),
                  named.isEmpty() ? QStringLiteral("no volts/div row") : named, Shown(voltsDivTexts_[i])));
  }
}

// The record opens with its channel's marker on this row.
std::int32_t Reader::ZeroRowValue(int channel, QStringView value) const {
  const std::int32_t zeroRow = IntValue(value);
  if (zeroRow < vertical_marker::TopmostRow || zeroRow > vertical_marker::BottomRow) {
    Fail(QStringLiteral("%1's 0 V row %2 is outside %3..%4")
             .arg(ChannelName(channel))
             .arg(zeroRow)
             .arg(vertical_marker::TopmostRow)
             .arg(vertical_marker::BottomRow));
  }
  return zeroRow;
}

void Reader::Averaged(QStringView line) {
  core::Record& r = records_.back().record;
  const QList<QStringView> cells = line.split(u',');
  // Once, after the description: a second one is a line out of place.
  if (r.averaged > 1 || cells.size() != 2 || cells[0] != QLatin1String(AveragedName))
    Fail(QStringLiteral("\"%1\" where an empty line belongs").arg(Shown(line)));
  bool ok = false;
  const int records = cells[1].toInt(&ok);
  const int most = core::AverageDepths.back();
  if (!ok || records < 2 || records > most)
    Fail(QStringLiteral("an average of \"%1\" records, where 2 to %2 belong").arg(Shown(cells[1])).arg(most));
  r.averaged = records;
}

void Reader::Columns(QStringView line) {
  const core::Record& r = records_.back().record;
  const QString want = ColumnsText(r, kind_ == Kind::History);
  if (line != want) {
    const QString kind = r.rate1MS ? QStringLiteral("the 3000-sample record of %1").arg(ChannelName(r.recordChannel))
                                   : QStringLiteral("a two-channel record");
    Fail(QStringLiteral("the columns \"%1\" where the description above, %2, has \"%3\"").arg(Shown(line), kind, want));
  }
  expect_ = Expect::Data;
}

void Reader::Data(QStringView line) {
  core::Record& r = records_.back().record;
  const bool numbered = kind_ == Kind::History;
  const core::SampleSpan spans[2] = {core::OwnSamples(r, 1), core::OwnSamples(r, 2)};
  const int channels = (spans[0].Count() > 0) + (spans[1].Count() > 0);
  const QList<QStringView> cells = line.split(u',');
  const qsizetype want = (numbered ? 1 : 0) + 1 + 2 * channels;
  if (cells.size() != want)
    Fail(QStringLiteral("%1 values where a data line of this record has %2").arg(cells.size()).arg(want));
  qsizetype cell = 0;
  if (numbered) {
    const QString number = QString::number(records_.size());
    if (cells[cell] != number)
      Fail(QStringLiteral("record \"%1\" on a line of record %2").arg(Shown(cells[cell]), number));
    ++cell;
  }
  const int first = spans[0].Count() ? spans[0].first : spans[1].first;
  const int index = first + sampleLine_;
  if (cells[cell] != QString::number(index))
    Fail(QStringLiteral("sample \"%1\" where sample %2 belongs").arg(Shown(cells[cell])).arg(index));
  ++cell;
  for (int channel = 1; channel <= 2; ++channel) {
    if (spans[channel - 1].Count() == 0) continue;
    bool ok = false;
    const int code = cells[cell].toInt(&ok);
    if (!ok) Fail(QStringLiteral("'%1' is not a valid integer value").arg(Shown(cells[cell])));
    if (code < 0 || code > 255)
      Fail(QStringLiteral("%1 code %2 is outside 0..255").arg(ChannelName(channel)).arg(code));
    const bool highRange = r.Channel(channel).highRange;
    const QString volts = VoltsText(std::uint8_t(code), highRange);
    if (cells[cell + 1] != volts) {
      Fail(QStringLiteral("%1 reads \"%2\" V, but code %3 is %4 V on the %5 range")
               .arg(ChannelName(channel), Shown(cells[cell + 1]))
               .arg(code)
               .arg(volts, QLatin1String(highRange ? HighRangeName : LowRangeName)));
    }
    (channel == 1 ? r.ch1 : r.ch2)[std::size_t(index)] = std::uint8_t(code);
    cell += 2;
  }
  ++sampleLine_;
  if (sampleLine_ < std::max(spans[0].Count(), spans[1].Count())) return;
  expect_ = int(records_.size()) == recordCount_ ? Expect::End : Expect::Gap;
}

Contents Reader::Finish() {
  if (expect_ != Expect::End) {
    throw ScopeError(QStringLiteral("The record file ends after line %1, before %2; nothing was opened")
                         .arg(lineNumber_)
                         .arg(Missing()));
  }
  expect_ = Expect::Title;
  return {kind_, std::move(records_)};
}

Contents Parse(QStringView text) {
  Reader reader(text.size());
  for (const QString& line : text_lines::SplitLines(text)) reader.Line(line);
  return reader.Finish();
}

namespace {

// A line of the file as text: ASCII, as written, read straight; anything
// else as the other text files are read.
QString DecodeLine(const QByteArray& bytes) {
  const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
  return ascii ? QString::fromLatin1(bytes) : text_lines::DecodeText(bytes);
}

}  // namespace

Contents Read(const QString& path) {
  const auto cannotOpen = [&path] {
    throw ScopeError(QStringLiteral("Cannot open file %1").arg(QDir::toNativeSeparators(path)));
  };
  // A device or a pipe would be read forever; a folder cannot be read.
  const QFileInfo info(path);
  if (!info.isFile()) cannotOpen();
  if (info.size() > MaxFileBytes) {
    throw ScopeError(QStringLiteral("The file %1 is %2 bytes, more than the largest record file (%3 bytes); "
                                    "nothing was opened")
                         .arg(QDir::toNativeSeparators(path))
                         .arg(info.size())
                         .arg(MaxFileBytes));
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) cannotOpen();
  Reader reader(info.size());
  QByteArray pending;
  bool afterCR = false;  // a LF right after a CR ends no second line
  for (;;) {
    const QByteArray chunk = file.read(64 * 1024);
    if (file.error() != QFileDevice::NoError) cannotOpen();
    if (chunk.isEmpty()) break;
    qsizetype start = 0;
    for (qsizetype i = 0; i < chunk.size(); ++i) {
      const char c = chunk[i];
      if (afterCR) {
        afterCR = false;
        if (c == '\n') {
          start = i + 1;
          continue;
        }
      }
      if (c != '\r' && c != '\n') continue;
      pending.append(chunk.constData() + start, i - start);
      reader.Line(DecodeLine(pending));
      pending.clear();
      afterCR = c == '\r';
      start = i + 1;
    }
    pending.append(chunk.constData() + start, chunk.size() - start);
    // A line with no end in sight is refused now, not read to its end.
    if (pending.size() > 4 * MaxLineLength) reader.Line(DecodeLine(pending));
  }
  if (!pending.isEmpty()) reader.Line(DecodeLine(pending));
  return reader.Finish();
}

void WriteRecord(const QString& path, const core::Record& record, const ZeroRows& zeroRows) {
  const QStringList lines = RecordLines(record, zeroRows);
  WriteBlocks(path, 1, [&lines](int) { return lines; });
}

void WriteHistory(const QString& path, const core::RecordHistory& history, const ZeroRows& zeroRows) {
  if (history.Empty()) throw ScopeError(QStringLiteral("The record history is empty: there is nothing to save"));
  // A record no file can describe stops the write before the temporary
  // replaces the file, so the old file stays as it was.
  WriteBlocks(path, history.Size() + 1, [&](int block) {
    return block == 0 ? HistoryHeadLines(history.Size()) : HistoryRecordLines(history.At(block), zeroRows, block);
  });
}

}  // namespace record_file
