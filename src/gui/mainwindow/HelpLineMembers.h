#pragma once
// Which controls of the main window speak in its help line, and what they
// say: tagged buttons show their help text; the tool frame's background, the
// hint line, the range's time boxes and the preview's time label clear it;
// the help panel itself, the track panel's background, the clone button and
// the test buttons leave it as it is, so the last text can be read.

class QWidget;

namespace kelbrin {

class frmDazudizi;

// Sets the help roles of the controls that keep or clear the line.
void JoinHelpLine(frmDazudizi& window);

} // namespace kelbrin
