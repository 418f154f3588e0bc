#include "sim/SimConfig.h"

#include <charconv>
#include <string_view>
#include <utility>

namespace sim {

namespace {

std::optional<int> WholeNumber(std::string_view text, int lowest, int highest) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  if (value < lowest || value > highest) return std::nullopt;
  return value;
}

std::optional<double> RealNumber(std::string_view text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || !(value >= 0)) {
    return std::nullopt;
  }
  return value;
}

std::optional<double> Counts(std::string_view text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || !(value >= -128 && value <= 128)) {
    return std::nullopt;
  }
  return value;
}

// "A" for both channels, or "A:B" for CH1 and CH2.
std::optional<std::pair<double, double>> ZeroOffsets(std::string_view text) {
  const std::size_t colon = text.find(':');
  const auto first = Counts(text.substr(0, colon));
  if (!first) return std::nullopt;
  if (colon == std::string_view::npos) return std::pair{*first, *first};
  const auto second = Counts(text.substr(colon + 1));
  if (!second) return std::nullopt;
  return std::pair{*first, *second};
}

// "name" or "name=N"; an absent N takes the default.
bool ApplyFault(std::string_view text, Faults& faults) {
  const std::size_t equals = text.find('=');
  const std::string_view name = text.substr(0, equals);
  const std::optional<std::string_view> argument =
      equals == std::string_view::npos ? std::nullopt
                                       : std::optional<std::string_view>(text.substr(equals + 1));
  const auto number = [&](int fallback, int lowest, int highest) -> std::optional<int> {
    if (!argument) return fallback;
    return WholeNumber(*argument, lowest, highest);
  };
  const bool takesNoArgument = !argument;
  if (name == "silent" && takesNoArgument) {
    faults.silent = true;
  } else if (name == "garbage" && takesNoArgument) {
    faults.garbage = true;
  } else if (name == "wrong-id" && takesNoArgument) {
    faults.wrongIdentify = true;
  } else if (name == "bad-date" && takesNoArgument) {
    faults.badDate = true;
  } else if (name == "flood" && takesNoArgument) {
    faults.flood = true;
  } else if (name == "late-last") {
    const auto n = number(5, 1, 60000);
    if (!n) return false;
    faults.lateLastMilliseconds = *n;
  } else if (name == "truncate") {
    const auto n = number(1500, 0, static_cast<int>(kReplyLength) - 1);
    if (!n) return false;
    faults.truncateReplyAt = *n;
  } else if (name == "drop") {
    const auto n = number(1, 1, 1000000);
    if (!n) return false;
    faults.dropAfterCaptures = *n;
  } else if (name == "drip") {
    const auto n = number(5, 1, 60000);
    if (!n) return false;
    faults.dripMilliseconds = *n;
  } else {
    return false;
  }
  return true;
}

// How an option takes its value.
enum class Takes {
  Nothing,     // a flag: "--flag=x" is no option at all
  Value,       // after "=", or else the next argument
  InlineOnly,  // only after "=": the value may be left out (--baud)
};

// An option's value applied to the configuration (no value for a flag, or
// when none was given); the message when the value is refused.
using Problem = std::optional<std::string>;
using ApplyOption = Problem (*)(const std::optional<std::string>& value, SimConfig& config);

Problem ApplySignal(std::string_view option, const std::optional<std::string>& text, SignalSource& input) {
  const auto signal = text ? ParseSignal(*text) : std::nullopt;
  if (!signal) return std::string(option) + " needs a signal such as sine:1000:4:0";
  input = *signal;
  return std::nullopt;
}

Problem ApplyCh1(const std::optional<std::string>& text, SimConfig& config) {
  return ApplySignal("--ch1", text, config.inputs.ch1);
}

Problem ApplyCh2(const std::optional<std::string>& text, SimConfig& config) {
  return ApplySignal("--ch2", text, config.inputs.ch2);
}

Problem ApplyExt(const std::optional<std::string>& text, SimConfig& config) {
  const auto hz = text ? RealNumber(*text) : std::nullopt;
  if (!hz) return "--ext needs a frequency in Hz";
  config.inputs.ext = ExternalTtlSquare(*hz);
  return std::nullopt;
}

Problem ApplyRevision(const std::optional<std::string>& text, SimConfig& config) {
  if (text == "A") {
    config.identity.revision = 'C';
  } else if (text == "B") {
    config.identity.revision = 'B';
  } else {
    return "--revision takes A or B";
  }
  return std::nullopt;
}

Problem ApplyRealTime(const std::optional<std::string>&, SimConfig& config) {
  config.realTime = true;
  return std::nullopt;
}

Problem ApplyUnpaced(const std::optional<std::string>&, SimConfig& config) {
  config.minReplyMilliseconds = 0;
  return std::nullopt;
}

Problem ApplyFinishReplies(const std::optional<std::string>&, SimConfig& config) {
  config.finishReplies = true;
  return std::nullopt;
}

Problem ApplyBaud(const std::optional<std::string>& text, SimConfig& config) {
  const std::optional<int> rate = text ? WholeNumber(*text, 11, 100000000) : std::optional<int>(9600);
  if (!rate) return "--baud=RATE needs a rate of at least 11";
  config.baud = *rate;
  return std::nullopt;
}

Problem ApplyAutoWait(const std::optional<std::string>& text, SimConfig& config) {
  const auto ms = text ? WholeNumber(*text, 0, 600000) : std::nullopt;
  if (!ms) return "--auto-wait needs milliseconds";
  config.autoWaitMilliseconds = *ms;
  return std::nullopt;
}

// CH1[:CH2] counts; one number sets both channels.
Problem ApplyZeroOffset(const std::optional<std::string>& text, SimConfig& config) {
  const auto offsets = text ? ZeroOffsets(*text) : std::nullopt;
  if (!offsets) return "--zero-offset needs counts such as 3 or 4:-0.5 (between -128 and 128)";
  config.inputs.ch1ZeroOffset = offsets->first;
  config.inputs.ch2ZeroOffset = offsets->second;
  return std::nullopt;
}

Problem ApplyFaultOption(const std::optional<std::string>& text, SimConfig& config) {
  if (!text || !ApplyFault(*text, config.faults)) return "unknown fault '" + text.value_or("") + "' (see --help)";
  return std::nullopt;
}

Problem ApplyLog(const std::optional<std::string>& text, SimConfig& config) {
  if (!text || text->empty()) return "--log needs a file";
  config.logPath = *text;
  return std::nullopt;
}

Problem ApplyLink(const std::optional<std::string>& text, SimConfig& config) {
  if (!text || text->empty()) return "--link needs a path";
  config.linkPath = *text;
  return std::nullopt;
}

struct OptionRule {
  std::string_view name;
  Takes takes;
  ApplyOption apply;
};

// Every option but --help, which sets no part of the configuration.
constexpr OptionRule OptionRules[] = {
    {"--ch1", Takes::Value, ApplyCh1},
    {"--ch2", Takes::Value, ApplyCh2},
    {"--ext", Takes::Value, ApplyExt},
    {"--revision", Takes::Value, ApplyRevision},
    {"--realtime", Takes::Nothing, ApplyRealTime},
    {"--unpaced", Takes::Nothing, ApplyUnpaced},
    {"--finish-replies", Takes::Nothing, ApplyFinishReplies},
    {"--baud", Takes::InlineOnly, ApplyBaud},
    {"--auto-wait", Takes::Value, ApplyAutoWait},
    {"--zero-offset", Takes::Value, ApplyZeroOffset},
    {"--fault", Takes::Value, ApplyFaultOption},
    {"--log", Takes::Value, ApplyLog},
    {"--link", Takes::Value, ApplyLink},
};

const OptionRule* RuleOf(std::string_view option) {
  for (const OptionRule& rule : OptionRules)
    if (rule.name == option) return &rule;
  return nullptr;
}

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& arguments) {
  ParsedArguments parsed;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string option = arguments[i];
    std::optional<std::string> value;
    if (const std::size_t equals = option.find('='); option.rfind("--", 0) == 0 &&
                                                     equals != std::string::npos) {
      value = option.substr(equals + 1);
      option.resize(equals);
    }
    if (option == "--help" || option == "-h") {
      parsed.help = true;
      continue;
    }
    const OptionRule* rule = RuleOf(option);
    if (!rule || (rule->takes == Takes::Nothing && value)) {
      parsed.error = "unknown option '" + arguments[i] + "' (see --help)";
      return parsed;
    }
    if (rule->takes == Takes::Value && !value && i + 1 < arguments.size()) value = arguments[++i];
    if (Problem problem = rule->apply(value, parsed.config)) {
      parsed.error = *problem;
      return parsed;
    }
  }
  return parsed;
}

std::string HelpText() {
  return R"(Usage: tessaron-sim [OPTION]...
A simulated Tessaron USB Oscilloscope on a pseudo-terminal. Prints the path of
the serial device to open (one line on standard output) and serves the
instrument's protocol there until interrupted (SIGINT or SIGTERM).

The protocol: "?" is answered with the 7-byte identity "O", revision, "SIM",
month "C", year "5" (firmware S.I.M of Dec. 2006). A capture command (9 bytes
starting with 170) is answered with a status byte (1 triggered, 0 not) and
3000 samples: 1500 of CH1 then 1500 of CH2, or 3000 of the one channel that
the channel byte picks for 1 MS/s. Samples are converter codes
126 - V/step, step 0.0784 V on the high range and 0.0156 V on the low,
taken at the rate of the time-base index. The trigger edge lands on the sample
under the scope's trigger marker. Normal mode without an edge never answers;
auto mode answers untriggered after --auto-wait. The stop byte 255 ends a
pending capture and cuts off an answer still going out (see
--finish-replies). Other bytes are ignored.

Signals:
  --ch1 SIGNAL        CH1 input (default sine:2000:4:0)
  --ch2 SIGNAL        CH2 input (default square:4000:2.5:0)
                      SIGNAL is SHAPE[:FREQUENCY_HZ[:AMPLITUDE_V[:OFFSET_V]]],
                      SHAPE one of sine, square, triangle, sawtooth, dc, noise;
                      amplitude is the peak (sine:1000:4 is 8 V peak to peak),
                      dc is its offset alone; empty fields keep the default
  --ext HZ            frequency of the 0/5 V TTL square on the external trigger
                      input (default 2000)
  --revision A|B      hardware revision in the identify answer (default A)
  --zero-offset CH1[:CH2]
                      the converter's own zero offset in counts, on both
                      ranges (default 0): a grounded input reads 126 + offset;
                      a fraction alternates the two neighbouring codes
                      (-0.5 reads 125 and 126 in turn); one number sets both

Pacing:
  --realtime          answer no earlier than the record could have been taken:
                      the pre-trigger part, the wait for the edge and the rest
                      of the record at its sample rate
  --baud[=RATE]       send at the byte rate of the real link, 11 bits a byte
                      (8 data bits, even parity, 1 stop bit); RATE default 9600
  --auto-wait MS      how long auto mode waits for an edge (default 100)
  --unpaced           answer a capture as soon as it is decided; by default no
                      reply leaves sooner than 20 ms after its command (at
                      most 50 captures a second, as a screen shows them)
  --finish-replies    a stop byte cancels only a capture still waiting for its
                      trigger: a reply already going out is sent to its end,
                      as an instrument may do
  Without --baud or --realtime, answers leave as fast as the pseudo-terminal
  takes them.

Faults, for testing the scope (--fault may be given more than once):
  --fault silent      read everything, answer nothing
  --fault garbage     answer every request with random bytes of the same
                      length (an identify answer never starts with "O")
  --fault truncate[=N]  send only the first N bytes of each capture reply
                      (default 1500)
  --fault drop[=N]    after N capture replies (default 1) close the link and
                      exit, as an unplugged instrument
  --fault drip[=MS]   send answers one byte at a time, MS ms apart (default 5)
  --fault wrong-id    the identify answer starts with "E" instead of "O"
  --fault bad-date    the identify answer's date digits are "0" and "Z"
  --fault flood       send random bytes as fast as the pseudo-terminal takes
                      them, all the time, and answer nothing
  --fault late-last[=MS]  the last byte of each capture reply leaves MS ms
                      after the one before it (default 5)

Other:
  --log FILE          write each received frame to FILE as one line of hex
                      bytes ("AA 61 F3 1C 00 D0 08 ED 03", "3F", "FF"; an
                      ignored byte is a line of its own)
  --link PATH         keep a symbolic link PATH to the serial device, made at
                      start (replacing what was there) and removed at exit
  --help              show this text
)";
}

}  // namespace sim
