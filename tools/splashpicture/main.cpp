// Writes the C++ source of SplashPicture: the splash background with the title and version
// painted over it, as RGB32 pixels.
//   splashpicture <background.png> <SplashPicture.cpp>

#include "SplashPainter.h"

#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

namespace {

void writeSource(QTextStream &out, const QImage &picture)
{
    out << "// Written by tools/splashpicture from icons/splash.png at build time.\n\n"
        << "#include \"SplashPicture.h\"\n\n"
        << "namespace {\n\n"
        << "alignas(4) const uchar kPixels[] = {";
    const auto *bytes = picture.constBits();
    for (qsizetype i = 0; i < picture.sizeInBytes(); ++i)
        out << (i % 24 ? " " : "\n    ") << uint(bytes[i]) << ',';
    out << "\n};\n\n"
        << "} // namespace\n\n"
        << "QImage SplashPicture::image()\n{\n"
        << "    return QImage(kPixels, " << picture.width() << ", " << picture.height() << ", "
        << picture.bytesPerLine() << ", QImage::Format_RGB32);\n}\n";
}

} // namespace

int main(int argc, char *argv[])
{
    // A build has no display to ask for one.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: splashpicture <background.png> <SplashPicture.cpp>\n", stderr);
        return 2;
    }
    const QImage background(QString::fromLocal8Bit(argv[1]));
    if (background.isNull()) {
        std::fprintf(stderr, "splashpicture: cannot read %s\n", argv[1]);
        return 1;
    }
    QFile file(QString::fromLocal8Bit(argv[2]));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "splashpicture: cannot write %s\n", argv[2]);
        return 1;
    }
    QTextStream out(&file);
    writeSource(out, SplashPainter::paint(background));
    out.flush();
    return out.status() == QTextStream::Ok && file.error() == QFileDevice::NoError ? 0 : 1;
}
