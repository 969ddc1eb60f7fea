// Renders the SVG sources of the compiled-in images: to a PNG of a given pixel size, or to a
// Windows icon file holding several sizes. Runs at build time without a display.
//
//   quellnet_svgrender png <in.svg> <out.png> <width> <height>
//   quellnet_svgrender ico <in.svg> <out.ico> <size,size,...> [<small.svg> <max small size>]
//
// The optional small source is a simplified drawing used for the sizes up to its limit, where
// the full drawing would turn to mush.

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QStringList>
#include <QSvgRenderer>
#include <QtEndian>

#include <cstdio>
#include <vector>

namespace {

constexpr int kMaxSize = 1024;

// A drawing the SVG module only half understood must not slip into the program unnoticed.
bool g_svgWarned = false;

void messageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    // The offscreen platform asks for a runtime folder that build machines need not have.
    if (message.startsWith(QLatin1String("QStandardPaths:")))
        return;
    if (type != QtDebugMsg && qstrcmp(context.category, "qt.svg") == 0)
        g_svgWarned = true;
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

void fail(const QString &message)
{
    std::fprintf(stderr, "quellnet_svgrender: %s\n", qPrintable(message));
}

bool parseSize(const QString &text, int *size)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 1 || value > kMaxSize)
        return false;
    *size = value;
    return true;
}

QImage render(const QString &svgFile, int width, int height)
{
    QSvgRenderer renderer(svgFile);
    if (!renderer.isValid() || g_svgWarned)
        return QImage();
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform
                           | QPainter::TextAntialiasing);
    renderer.render(&painter, QRectF(0, 0, width, height));
    painter.end();
    if (g_svgWarned)
        return QImage();
    return image.convertToFormat(QImage::Format_ARGB32);
}

bool writeFile(const QString &path, const QByteArray &data)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        fail(QStringLiteral("cannot write %1").arg(path));
        return false;
    }
    return true;
}

void putLe16(QByteArray &out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void putLe32(QByteArray &out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

// Old icon readers only understand the bitmap form, so everything below 256 pixels is stored
// as a 32-bit DIB (colour rows bottom-up, then the 1-bit transparency mask); 256 is PNG.
QByteArray iconEntryData(const QImage &image)
{
    const int w = image.width();
    const int h = image.height();
    if (w >= 256) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return png;
    }
    const int maskStride = ((w + 31) / 32) * 4;
    QByteArray out;
    putLe32(out, 40);
    putLe32(out, quint32(w));
    putLe32(out, quint32(h * 2)); // colour rows plus mask rows
    putLe16(out, 1);
    putLe16(out, 32);
    putLe32(out, 0); // BI_RGB
    putLe32(out, quint32(w * h * 4 + maskStride * h));
    for (int i = 0; i < 4; ++i)
        putLe32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb px = line[x];
            out.append(char(qBlue(px)));
            out.append(char(qGreen(px)));
            out.append(char(qRed(px)));
            out.append(char(qAlpha(px)));
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(maskStride, '\0');
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            if (qAlpha(line[x]) == 0)
                row[x / 8] = char(uchar(row[x / 8]) | (0x80 >> (x % 8)));
        }
        out.append(row);
    }
    return out;
}

QByteArray iconFile(const std::vector<QImage> &images)
{
    QByteArray out;
    putLe16(out, 0);
    putLe16(out, 1); // icon, not cursor
    putLe16(out, quint16(images.size()));
    std::vector<QByteArray> blobs;
    for (const QImage &image : images)
        blobs.push_back(iconEntryData(image));
    quint32 offset = quint32(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const int w = images[i].width();
        const int h = images[i].height();
        out.append(char(w >= 256 ? 0 : w)); // 0 stands for 256
        out.append(char(h >= 256 ? 0 : h));
        out.append('\0'); // no palette
        out.append('\0');
        putLe16(out, 1);
        putLe16(out, 32);
        putLe32(out, quint32(blobs[i].size()));
        putLe32(out, offset);
        offset += quint32(blobs[i].size());
    }
    for (const QByteArray &blob : blobs)
        out.append(blob);
    return out;
}

int renderPng(const QStringList &args)
{
    int width = 0;
    int height = 0;
    if (args.size() != 4 || !parseSize(args.at(2), &width) || !parseSize(args.at(3), &height)) {
        fail(QStringLiteral("usage: png <in.svg> <out.png> <width> <height>"));
        return 2;
    }
    const QImage image = render(args.at(0), width, height);
    if (image.isNull()) {
        fail(QStringLiteral("cannot read %1").arg(args.at(0)));
        return 1;
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        fail(QStringLiteral("cannot encode %1").arg(args.at(1)));
        return 1;
    }
    return writeFile(args.at(1), png) ? 0 : 1;
}

int renderIco(const QStringList &args)
{
    if (args.size() != 3 && args.size() != 5) {
        fail(QStringLiteral("usage: ico <in.svg> <out.ico> <sizes> [<small.svg> <max small>]"));
        return 2;
    }
    std::vector<int> sizes;
    for (const QString &part : args.at(2).split(QLatin1Char(','))) {
        int size = 0;
        if (!parseSize(part, &size) || size > 256) {
            fail(QStringLiteral("bad icon size '%1'").arg(part));
            return 2;
        }
        sizes.push_back(size);
    }
    QString smallSvg;
    int smallMax = 0;
    if (args.size() == 5) {
        smallSvg = args.at(3);
        if (!parseSize(args.at(4), &smallMax)) {
            fail(QStringLiteral("bad small size limit '%1'").arg(args.at(4)));
            return 2;
        }
    }
    std::vector<QImage> images;
    for (int size : sizes) {
        const QString source = size <= smallMax ? smallSvg : args.at(0);
        const QImage image = render(source, size, size);
        if (image.isNull()) {
            fail(QStringLiteral("cannot read %1").arg(source));
            return 1;
        }
        images.push_back(image);
    }
    return writeFile(args.at(1), iconFile(images)) ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    // Build machines have no display; the offscreen platform still gives fonts for <text>.
    qInstallMessageHandler(messageHandler);
    std::vector<char *> qtArgs(argv, argv + argc);
    char platformFlag[] = "-platform";
    char platformName[] = "offscreen";
    qtArgs.insert(qtArgs.begin() + 1, {platformFlag, platformName});
    int qtArgc = int(qtArgs.size());
    qtArgs.push_back(nullptr);
    QGuiApplication app(qtArgc, qtArgs.data());

    QStringList args = app.arguments().mid(1);
    const QString mode = args.isEmpty() ? QString() : args.takeFirst();
    if (mode == QLatin1String("png"))
        return renderPng(args);
    if (mode == QLatin1String("ico"))
        return renderIco(args);
    fail(QStringLiteral("usage: png|ico ..."));
    return 2;
}
