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

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& arguments) {
  ParsedArguments parsed;
  SimConfig& config = parsed.config;
  const auto fail = [&](const std::string& text) {
    parsed.error = text;
    return parsed;
  };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string option = arguments[i];
    std::optional<std::string> inlineValue;
    if (const std::size_t equals = option.find('='); option.rfind("--", 0) == 0 &&
                                                     equals != std::string::npos) {
      inlineValue = option.substr(equals + 1);
      option.resize(equals);
    }
    // The value of an option that needs one: after "=", or the next argument.
    const auto value = [&]() -> std::optional<std::string> {
      if (inlineValue) return inlineValue;
      if (i + 1 < arguments.size()) return arguments[++i];
      return std::nullopt;
    };
    const auto flagOnly = [&] { return !inlineValue; };

    if (option == "--help" || option == "-h") {
      parsed.help = true;
    } else if (option == "--ch1" || option == "--ch2") {
      const auto text = value();
      const auto signal = text ? ParseSignal(*text) : std::nullopt;
      if (!signal) return fail(option + " needs a signal such as sine:1000:4:0");
      (option == "--ch1" ? config.inputs.ch1 : config.inputs.ch2) = *signal;
    } else if (option == "--ext") {
      const auto text = value();
      const auto hz = text ? RealNumber(*text) : std::nullopt;
      if (!hz) return fail("--ext needs a frequency in Hz");
      config.inputs.ext = ExternalTtlSquare(*hz);
    } else if (option == "--revision") {
      const auto text = value();
      if (text == "A") {
        config.identity.revision = 'C';
      } else if (text == "B") {
        config.identity.revision = 'B';
      } else {
        return fail("--revision takes A or B");
      }
    } else if (option == "--realtime" && flagOnly()) {
      config.realTime = true;
    } else if (option == "--baud") {
      // The rate is optional, so it is only taken after "=".
      const std::optional<int> rate =
          inlineValue ? WholeNumber(*inlineValue, 11, 100000000) : std::optional<int>(9600);
      if (!rate) return fail("--baud=RATE needs a rate of at least 11");
      config.baud = *rate;
    } else if (option == "--auto-wait") {
      const auto text = value();
      const auto ms = text ? WholeNumber(*text, 0, 600000) : std::nullopt;
      if (!ms) return fail("--auto-wait needs milliseconds");
      config.autoWaitMilliseconds = *ms;
    } else if (option == "--zero-offset") {
      // CH1[:CH2] counts; one number sets both channels.
      const auto text = value();
      const auto offsets = text ? ZeroOffsets(*text) : std::nullopt;
      if (!offsets) return fail("--zero-offset needs counts such as 3 or 4:-0.5 (between -128 and 128)");
      config.inputs.ch1ZeroOffset = offsets->first;
      config.inputs.ch2ZeroOffset = offsets->second;
    } else if (option == "--fault") {
      const auto text = value();
      if (!text || !ApplyFault(*text, config.faults)) {
        return fail("unknown fault '" + text.value_or("") + "' (see --help)");
      }
    } else if (option == "--log") {
      const auto text = value();
      if (!text || text->empty()) return fail("--log needs a file");
      config.logPath = *text;
    } else if (option == "--link") {
      const auto text = value();
      if (!text || text->empty()) return fail("--link needs a path");
      config.linkPath = *text;
    } else {
      return fail("unknown option '" + arguments[i] + "' (see --help)");
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
pending capture and cuts off an answer still going out. Other bytes are
ignored.

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
  Without these, answers leave as fast as the pseudo-terminal takes them.

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
