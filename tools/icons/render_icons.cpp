// vykedit-icons OUTDIR ID: draws the program's icon at the sizes of the hicolor icon theme into
// OUTDIR/hicolor/NxN/apps/ID.png, for installing beside the SVG. Run at build time.
#include <QDir>
#include <iostream>

#include "ui/widgets/program_icon.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: vykedit-icons OUTDIR ID\n";
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[1]);
  const QString id = QString::fromLocal8Bit(argv[2]);
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(out).arg(size);
    const QString file = QStringLiteral("%1/%2.png").arg(folder, id);
    if (!QDir().mkpath(folder) || !vyk::ui::DrawProgramIcon(size).save(file)) {
      std::cerr << "cannot write " << file.toStdString() << '\n';
      return 1;
    }
  }
  return 0;
}
