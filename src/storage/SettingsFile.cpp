#include "storage/SettingsFile.h"

#include "app/Errors.h"

namespace settings_file {

namespace {

QString Flag(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }
QString Number(std::int32_t value) { return QString::number(value); }

// Line `line` (from 1) as an integer, as a list of lines is read.
std::int32_t IntegerAt(const QStringList& lines, int line) {
  CheckListIndex(line - 1, lines.size());
  return StrToInt(lines[line - 1]);
}

constexpr bool KnownSource(std::int32_t source) { return source == 1 || source == 2 || source == 10; }

[[noreturn]] void Refuse(int line, std::int32_t value) {
  throw ScopeError(QStringLiteral("Line %1 of the settings file holds %2, which the panel cannot show; "
                                  "nothing was loaded")
                       .arg(line)
                       .arg(value));
}

}  // namespace

QStringList Lines(const PanelState& p) {
  return {p.port,
          Number(p.ch1VertPos),
          Number(p.ch2VertPos),
          Number(p.timeKnobAngle),
          Number(p.ch1Trig),
          Number(p.ch2Trig),
          Number(p.triggerCH),
          Number(p.ch1TriggerV),
          Number(p.ch2TriggerV),
          Flag(p.ch1ArrowShown),
          Flag(p.ch2ArrowShown),
          Flag(p.ch1On),
          Flag(p.ch2On),
          Number(p.ch1KnobAngle),
          Number(p.ch2KnobAngle),
          Flag(p.knobEnabled),
          Flag(p.ch1Focus),
          p.knobFacePrefix,
          Number(p.formTop),
          Number(p.formLeft),
          Flag(p.rising),
          Flag(p.continuous),
          Flag(p.autoTrigger),
          Number(p.trigPos)};
}

Loaded Parse(const QStringList& lines) {
  // Its rows are integers too, and would load as a nonsense panel.
  if (!lines.isEmpty() && lines.front() == QLatin1String(ReferenceHeader)) {
    throw ScopeError(QStringLiteral("This is a reference waveform file, not a settings file; nothing was loaded"));
  }
  Loaded loaded;
  for (const auto& [id, line] : LoadOrder) loaded.writes.push_back({id, IntegerAt(lines, line)});
  loaded.trigPos = IntegerAt(lines, TriggerPositionLine);

  for (std::size_t i = 0; i < LoadOrder.size(); ++i) {
    const auto [id, value] = loaded.writes[i];
    const bool outside = id == stored::Id::TriggerCH ? !KnownSource(value) : stored::HeldToRange(id, value) != value;
    if (outside) Refuse(LoadOrder[i].second, value);
  }
  if (stored::HeldToRange(stored::Id::TrigPos, loaded.trigPos) != loaded.trigPos) {
    Refuse(TriggerPositionLine, loaded.trigPos);
  }
  return loaded;
}

}  // namespace settings_file
