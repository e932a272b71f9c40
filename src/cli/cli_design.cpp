#include "cli/cli_design.h"

#include <cctype>
#include <charconv>
#include <cmath>

#include "analysis/check.h"
#include "app/shell.h"
#include "cli/output.h"
#include "components/holders.h"
#include "design/design_pages.h"
#include "design/plain_view.h"
#include "format/pmisc.h"
#include "render/checked.h"
#include "render/measuring_canvas.h"
#include "state/global.h"

namespace timer555 {

namespace {

constexpr int kFirstFieldMaxLength = 10;
// Every arrow step recalculates and redraws; a thousand take a fraction of a second.
constexpr int kMaxArrowSteps = 1000;

// The entry fields take digits and points only, the first at most ten.
std::string Typeable(const std::string& option, const std::string& text, int maxLength = 0) {
  for (char c : text) {
    if ((c < '0' || c > '9') && c != '.') {
      throw UsageError(option + ": '" + text + "' cannot be typed (digits and a point only)");
    }
  }
  if (maxLength > 0 && static_cast<int>(text.size()) > maxLength) {
    throw UsageError(option + ": '" + text + "' is longer than the field's " +
                     std::to_string(maxLength) + " characters");
  }
  return text;
}

int Count(const std::string& option, const std::string& text) {
  int n = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || end != text.data() + text.size() || n < 0 || n > kMaxArrowSteps) {
    throw UsageError(option + " wants a count from 0 to 1000, not '" + text + "'");
  }
  return n;
}

std::string Label(const std::optional<std::string>& label) {
  return label ? Quoted(*label) : "null";
}

}  // namespace

std::string Number(double v) {
  if (!std::isfinite(v)) return "null";
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

std::string Quoted(const std::string& s) {
  std::string out = "\"";
  for (const char raw : s) {
    const auto c = static_cast<unsigned char>(raw);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else if (c >= 0x80) {
      // Latin-1 texts become UTF-8.
      out += static_cast<char>(0xc0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3f));
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

bool EndsWithNoCase(const std::string& s, const std::string& suffix) {
  if (s.size() < suffix.size()) return false;
  for (size_t i = 0; i < suffix.size(); ++i) {
    const char c = s[s.size() - suffix.size() + i];
    if (std::tolower(static_cast<unsigned char>(c)) != suffix[i]) return false;
  }
  return true;
}

TimerVariant ParseTimer(const std::string& text) {
  const std::string t = Lowered(text);
  if (t == "555") return TimerVariant::Timer555;
  if (t == "556a") return TimerVariant::Timer556A;
  if (t == "556b") return TimerVariant::Timer556B;
  throw UsageError("--timer wants 555, 556A or 556B, not '" + text + "'");
}

DesignKind ParseDesignKind(const std::string& text) {
  if (const auto kind = DesignKindNamed(Lowered(text))) return *kind;
  throw UsageError("unknown design '" + text +
                   "' (astable-above, astable-square, astable-below, monostable or 1 to 4)");
}

std::function<void(const std::string&)> ModeArgument(std::optional<DesignKind>& kind) {
  return [&kind](const std::string& a) {
    if (kind) throw UsageError("unexpected argument '" + a + "'");
    kind = ParseDesignKind(a);
  };
}

std::vector<Option> DesignOptions(DesignRequest& r) {
  const auto arrows = [&r](const std::string& option, bool up) {
    return [&r, option, up](const std::string& value) {
      const int n = Count(option, value);
      if (static_cast<int>(r.arrowSteps.size()) + n > kMaxArrowSteps) {
        throw UsageError("at most 1000 arrow steps in all");
      }
      r.arrowSteps.insert(r.arrowSteps.end(), static_cast<size_t>(n), up);
    };
  };
  return {
      {{"-f"},
       "TEXT",
       "frequency in Hz",
       [&r](const std::string& v) { r.frequency = Typeable("-f", v, kFirstFieldMaxLength); },
       {"--frequency"}},
      {{"-d"},
       "TEXT",
       "duty cycle in %",
       [&r](const std::string& v) { r.duty = Typeable("-d", v); },
       {"--duty"}},
      {{"-t"},
       "TEXT",
       "pulse length in seconds (monostable)",
       [&r](const std::string& v) { r.pulse = Typeable("-t", v, kFirstFieldMaxLength); },
       {"--pulse"}},
      {{"--c1-up"},
       "N",
       "click the up arrow N times (next larger E12 value)",
       arrows("--c1-up", true),
       {},
       true},
      {{"--c1-down"}, "N", "click the down arrow N times", arrows("--c1-down", false), {}, true},
      {{"--set"},
       "PART=TEXT",
       "adjust R1, R2 or C1 in the unit the dialog shows",
       [&r](const std::string& assignment) {
         const size_t eq = assignment.find('=');
         const std::string part = assignment.substr(0, eq);
         if (eq == std::string::npos || (part != "R1" && part != "R2" && part != "C1")) {
           throw UsageError("--set wants R1=TEXT, R2=TEXT or C1=TEXT, not '" + assignment + "'");
         }
         r.sets.emplace_back(part, Typeable("--set " + part, assignment.substr(eq + 1)));
       },
       {},
       true},
      {{"--timer"},
       "VARIANT",
       "555, 556A or 556B",
       [&r](const std::string& v) { r.timer = ParseTimer(v); }},
  };
}

namespace {

// What the design has not: -f or -d for the one-shot, -t for the astables,
// a duty cycle for the 50 % design, an R2 for the one-shot.
void RefuseWhatTheDesignHasNot(const DesignRequest& request, const DesignTraits& traits) {
  if (traits.oneShot && (request.frequency || request.duty)) {
    throw UsageError("the monostable takes its pulse length with -t, not -f or -d");
  }
  if (!traits.oneShot && request.pulse) throw UsageError("-t is the monostable's pulse length");
  if (!traits.oneShot && !traits.resistorPair && request.duty)
    throw UsageError("the square-wave astable's duty cycle is 50 %");
  for (const auto& [part, text] : request.sets) {
    if (part == "R2" && !traits.hasR2) throw UsageError("the monostable has no R2");
  }
}

// The design as the window shows it now.
DesignReport ReportOf(DesignKind kind, const PlainView& view, const MeasuringCanvas& waveform) {
  DesignReport report;
  report.kind = kind;
  const TimerDesignState& d = Global::TimerDesign();
  const PageState& p = Global::Page();
  report.title = view.Caption();
  report.design = d;
  report.calculated = p.Calculated;
  if (p.Calculated) {
    // The parts the script draws are those whose hit rectangles it stored.
    if (!p.ResistorHitRects[1].IsEmpty()) report.r1Label = FormatResistance(d.R1);
    if (!p.ResistorHitRects[2].IsEmpty()) report.r2Label = FormatResistance(d.R2);
    report.c1Label = FormatCapacitance(d.C1);
    report.c2Label = FormatCapacitance(d.C2);
  }
  report.fields[0] = view.Text(Control::NumEdit1);
  report.fields[1] = view.Text(Control::NumEdit2);
  // The labels of the last drawing: each one starts by clearing the image.
  report.waveform = waveform.Texts();
  return report;
}

}  // namespace

std::optional<std::string> RunDesign(const DesignRequest& request, Canvas& page,
                                     DesignReport& report) {
  const DesignKind kind = request.kind.value_or(DesignKind::AstableAbove);
  const DesignTraits& traits = TraitsOf(kind);
  RefuseWhatTheDesignHasNot(request, traits);
  Global::Reset();
  if (request.timer) Global::Drawing().TimerVariant = *request.timer;
  StringHolders holders = LoadBuiltinHolders();
  MeasuringCanvas menuBar(page.Width(), 42);
  MeasuringCanvas waveform(203, 58);
  PlainView view(page, waveform);
  MainShell shell(view, holders);
  // Each step as the window's event guard runs it: a drawing error ends the
  // step with its message, as does a message box the step shows.
  const auto step = [&](const auto& handler) -> std::optional<std::string> {
    try {
      handler();
    } catch (const TimerError& e) {
      return std::string(e.what());
    }
    if (view.errors.empty()) return std::nullopt;
    return view.errors.front();
  };
  const int w = page.Width(), h = page.Height();
  if (auto f = step([&] {
        shell.FormCreate(menuBar);
        shell.FormShow();
        shell.ShowDesignSelection();
        shell.Image2MouseDown(traits.pictureColumn * (w - 1), traits.pictureRow * (h - 1));
      }))
    return f;

  if (request.Calculates()) {
    view.text[Control::NumEdit1] =
        traits.oneShot ? request.pulse.value_or("") : request.frequency.value_or("");
    if (traits.resistorPair) view.text[Control::NumEdit2] = request.duty.value_or("");
    if (auto f = step([&] { shell.Image3Click(); })) return f;
    view.checkedRadio = Control::RB1;
    for (bool up : request.arrowSteps) {
      if (auto f = step([&] { shell.Image4MouseDown(up ? 0 : 10000, 0); })) return f;
    }
    for (const auto& [part, text] : request.sets) {
      view.adjustEntry = [t = text] { return t; };
      const bool capacitor = part == "C1";
      if (!capacitor) Global::Page().ResistorUnderCursor = part == "R1" ? 1 : 2;
      if (auto f = step([&] {
            if (capacitor) {
              shell.AdjustCapacitor();
            } else {
              shell.AdjustResistor();
            }
          }))
        return f;
    }
  }

  report = ReportOf(kind, view, waveform);
  return std::nullopt;
}

void PrintDesign(const DesignReport& r, bool json, std::ostream& out) {
  if (json) {
    out << "{\"mode\": " << DesignNumber(r.kind) << ", \"title\": " << Quoted(r.title)
        << ", \"frequency\": " << Number(r.design.Frequency)
        << ", \"duty_cycle\": " << Number(r.design.DutyCycle)
        << ", \"pulse_length\": " << Number(r.design.PulseLength)
        << ", \"r1\": " << Number(r.design.R1) << ", \"r2\": " << Number(r.design.R2)
        << ", \"c1\": " << Number(r.design.C1) << ", \"c2\": " << Number(r.design.C2)
        << ", \"t_high\": " << Number(r.design.THigh) << ", \"t_low\": " << Number(r.design.TLow)
        << ", \"labels\": {\"r1\": " << Label(r.r1Label) << ", \"r2\": " << Label(r.r2Label)
        << ", \"c1\": " << Label(r.c1Label) << ", \"c2\": " << Label(r.c2Label)
        << "}, \"fields\": [" << Quoted(r.fields[0]) << ", " << Quoted(r.fields[1])
        << "], \"waveform\": [";
    for (size_t i = 0; i < r.waveform.size(); ++i)
      out << (i ? ", " : "") << Quoted(r.waveform[i]);
    out << "]}\n";
    return;
  }
  out << r.title << "\n";
  const auto part = [&](const char* name, const std::optional<std::string>& label, double value,
                        const char* unit) {
    if (label) out << name << "  " << *label << "  (" << Number(value) << " " << unit << ")\n";
  };
  part("R1", r.r1Label, r.design.R1, "ohm");
  part("R2", r.r2Label, r.design.R2, "ohm");
  part("C1", r.c1Label, r.design.C1, "F");
  part("C2", r.c2Label, r.design.C2, "F");
  const bool oneShot = TraitsOf(r.kind).oneShot;
  out << (oneShot ? "Pulse length  " : "Frequency  ") << r.fields[0] << (oneShot ? " sec" : " Hz")
      << "\n";
  if (!oneShot) out << "Duty Cycle  " << r.fields[1] << " %\n";
  for (const std::string& label : r.waveform)
    out << label << "\n";
}

std::optional<DesignSnapshot> CalculatedDesign(const std::string& command,
                                               const DesignRequest& request, DesignReport& report,
                                               std::ostream& err) {
  if (!request.kind) throw UsageError(command + " wants a MODE");
  if (!request.Calculates())
    throw UsageError(command + " wants the design's figures: -f and -d, or -t");
  MeasuringCanvas page(PageWidth(), PageHeight());
  if (const auto failure = RunDesign(request, page, report)) {
    PrintError(err, *failure);
    return std::nullopt;
  }
  const TimerDesignState& d = report.design;
  return SnapshotWithTargets(report.kind, d.R1, d.R2, d.C1, d.R1Ref, d.R2Ref, d.C1Ref);
}

}  // namespace timer555
