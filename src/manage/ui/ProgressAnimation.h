#pragma once

class QProgressBar;

namespace vn {

// Shows the bar, moves it a step at a time from 1 to steps with a pause after
// each, and hides it again, under the busy cursor. The window keeps painting
// but takes no input meanwhile.
void AnimateProgress(QProgressBar& bar, int steps, int pauseMilliseconds);

}  // namespace vn
