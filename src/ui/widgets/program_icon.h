#pragma once
// The program's icon: the Box with its transfer curve. packaging/vyk-edit.svg is the same
// picture for the desktop; the PNGs installed beside it are drawn by this code.
#include <QIcon>
#include <QImage>

namespace vyk::ui {

// The icon at size x size pixels, drawn for that size rather than scaled from another.
QImage DrawProgramIcon(int size);

// The icon at the sizes a desktop asks for (title bar, task switcher, About box).
QIcon ProgramIcon();

}  // namespace vyk::ui
