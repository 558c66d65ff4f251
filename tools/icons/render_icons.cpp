// vykedit-icons OUTDIR ID: draws the program's icon at the sizes of the hicolor icon theme into
// OUTDIR/hicolor/NxN/apps/ID.png, for installing beside the SVG. Run at build time.
// vykedit-icons --ico FILE: the same pictures in one Windows icon file, for the programs' .exe.
#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QtEndian>
#include <iostream>

#include "ui/widgets/program_icon.h"

namespace {

void Append16(QByteArray& out, quint16 value) {
  const quint16 le = qToLittleEndian(value);
  out.append(reinterpret_cast<const char*>(&le), 2);
}

void Append32(QByteArray& out, quint32 value) {
  const quint32 le = qToLittleEndian(value);
  out.append(reinterpret_cast<const char*>(&le), 4);
}

// An icon file whose pictures are PNGs, which every Windows since Vista reads: a 6-byte header,
// a 16-byte entry per picture (a width or height of 256 is written as 0), then the PNGs.
bool WriteIco(const QString& file) {
  const int sizes[] = {16, 24, 32, 48, 64, 256};
  QList<QByteArray> pngs;
  for (int size : sizes) {
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !vyk::ui::DrawProgramIcon(size).save(&buffer, "PNG"))
      return false;
    pngs.append(png);
  }
  QByteArray ico;
  Append16(ico, 0);
  Append16(ico, 1);  // an icon, not a cursor
  Append16(ico, static_cast<quint16>(pngs.size()));
  quint32 offset = 6 + 16 * static_cast<quint32>(pngs.size());
  for (qsizetype k = 0; k < pngs.size(); ++k) {
    const char side = static_cast<char>(sizes[k] == 256 ? 0 : sizes[k]);
    ico.append(side).append(side).append('\0').append('\0');
    Append16(ico, 1);   // colour planes
    Append16(ico, 32);  // bits per pixel
    Append32(ico, static_cast<quint32>(pngs[k].size()));
    Append32(ico, offset);
    offset += static_cast<quint32>(pngs[k].size());
  }
  for (const QByteArray& png : pngs)
    ico.append(png);
  QFile out(file);
  return out.open(QIODevice::WriteOnly) && out.write(ico) == ico.size() && out.flush();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: vykedit-icons OUTDIR ID | vykedit-icons --ico FILE\n";
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[1]);
  const QString id = QString::fromLocal8Bit(argv[2]);
  if (out == QLatin1String("--ico")) {
    if (WriteIco(id)) return 0;
    std::cerr << "cannot write " << id.toStdString() << '\n';
    return 1;
  }
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
