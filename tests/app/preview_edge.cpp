// Looks at the screen (or at a screenshot given as its argument) and says whether the
// search-result preview of the editor's document window in front shows whole, down to its
// card's bottom edge, or is cut off by the window. Prints what it found; exits 0 when whole,
// 1 when cut, 2 when it finds no preview.

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTextStream>

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace {

const QColor kPathColour(0x00, 0x66, 0x21);
const QColor kCardBorder(0xda, 0xdc, 0xe0);

bool near(QRgb pixel, const QColor &colour, int tolerance)
{
    return std::abs(qRed(pixel) - colour.red()) <= tolerance
        && std::abs(qGreen(pixel) - colour.green()) <= tolerance
        && std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

bool white(QRgb pixel)
{
    return qRed(pixel) > 250 && qGreen(pixel) > 250 && qBlue(pixel) > 250;
}

struct PathLine
{
    int y = -1;
    int rightmost = -1;
};

int rightmostPathPixel(const QImage &image, int y)
{
    for (int x = image.width() - 1; x >= 0; --x) {
        if (near(image.pixel(x, y), kPathColour, 24))
            return x;
    }
    return -1;
}

// The window in front stands lowest in a cascade, so its address line is the lowest one.
// Its lowest row holds only the letters that reach below the line (p, g, y), which may all
// stand early in the address: its end is looked for over the line's whole height.
std::optional<PathLine> lowestPathLine(const QImage &image)
{
    constexpr int kLineHeight = 16;
    for (int y = image.height() - 1; y >= 0; --y) {
        if (rightmostPathPixel(image, y) < 0)
            continue;
        PathLine line { y, -1 };
        for (int row = std::max(0, y - kLineHeight); row <= y; ++row)
            line.rightmost = std::max(line.rightmost, rightmostPathPixel(image, row));
        return line;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    const QImage shot = argc > 1 ? QImage(QString::fromLocal8Bit(argv[1]))
                                 : QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    const QImage image = shot.convertToFormat(QImage::Format_RGB32);
    const std::optional<PathLine> path = image.isNull() ? std::nullopt : lowestPathLine(image);
    if (!path) {
        out << "no preview found\n";
        return 2;
    }
    // The card's right border on the address line, then down the card's empty margin inside it,
    // clear of its text and of its rounded corner.
    // The border is the first thing after a stretch of white: the address's last letter may
    // leave grey edges of its own.
    int x = path->rightmost;
    int whiteRun = 0;
    while (x + 1 < image.width() && (whiteRun < 8 || white(image.pixel(x + 1, path->y)))) {
        whiteRun = white(image.pixel(x + 1, path->y)) ? whiteRun + 1 : 0;
        ++x;
    }
    const int column = x - 8;
    int y = path->y;
    while (y + 1 < image.height() && white(image.pixel(column, y + 1)))
        ++y;
    const QRgb below = y + 1 < image.height() ? image.pixel(column, y + 1) : 0;
    const QRgb further = y + 3 < image.height() ? image.pixel(column, y + 3) : 0;
    const bool edge = near(below, kCardBorder, 14) && !white(further);
    out << "address at y=" << path->y << ", card column x=" << column << ", card ends at y=" << y << " on "
        << QColor(below).name() << (edge ? ": its bottom edge shows\n" : ": cut off\n");
    return edge ? 0 : 1;
}
