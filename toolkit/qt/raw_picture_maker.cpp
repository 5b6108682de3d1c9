// Build tool: writes a 24-bit bitmap file as the raw picture the Qt backend shows without
// decoding it (raw_picture.h): its width and height, then its rows top down in the screen's
// 32-bit format. Usage: raw_picture_maker BITMAP RAW
#include <QFile>
#include <QSaveFile>
#include <cstdio>

#include "toolkit/qt/bitmap_file.h"
#include "toolkit/qt/raw_picture.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s BITMAP RAW\n", argv[0]);
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: cannot read\n", argv[1]);
        return 1;
    }
    const QImage picture = toolkit::qt::ReadTrueColourBitmap(in.readAll());
    const QByteArray raw = toolkit::qt::EncodeRawPicture(picture);
    if (raw.isEmpty()) {
        std::fprintf(stderr, "%s: not an uncompressed 24-bit bitmap\n", argv[1]);
        return 1;
    }
    // All or nothing: a build stopped half-way leaves no half-written picture behind.
    QSaveFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly) || out.write(raw) != raw.size() || !out.commit()) {
        std::fprintf(stderr, "%s: cannot write\n", argv[2]);
        return 1;
    }
    return 0;
}
