#include "cli/ScanProgress.h"

namespace vn::cli {

ScanProgress::ScanProgress(CommandContext& context, const char* countNoun, Fraction fraction, long total)
    : fraction_(fraction),
      total_(total),
      line_(context.host.err(), context.ProgressColumns(), countNoun),
      status_([this, &context](const std::string& text) {
          line_.SetNow(text);
          if (context.line.verbose)
              line_.Beside([&] { context.Status(text); });
      }) {}

void ScanProgress::Tick() {
    const long position = status_.Position();
    const long range = status_.Range();
    switch (fraction_) {
    case Fraction::Items: line_.SetProgress(position, range); break;
    case Fraction::Percent: line_.SetProgress(position, range, true); break;
    case Fraction::ScaledTo:
        line_.SetProgress(range > 0 ? static_cast<long>(static_cast<long long>(position) * total_ / range) : 0, total_);
        break;
    }
    line_.Draw();
}

}  // namespace vn::cli
