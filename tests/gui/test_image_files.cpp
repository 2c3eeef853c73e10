// Picture files: every format the program writes reads back, and bad files are refused with a
// reason instead of crashing or leaving half-written files.
#include "gui/host/gif_files.h"
#include "gui/host/image_files.h"

#include <QDataStream>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

#include <climits>

using namespace vantrel;

namespace {

// Few colours, as a map with lines on a plain background has.
QImage FewColours(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int x = 0; x < size.width(); ++x) {
        image.setPixelColor(x, x % size.height(), QColor(255, 0, 0));
        image.setPixelColor(x, size.height() / 2, QColor(0, 0, 255));
    }
    image.setPixelColor(1, 0, QColor(12, 34, 56));
    return image;
}

// Every pixel different, far more than a palette holds.
QImage ManyColours(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixelColor(x, y, QColor(x % 256, y % 256, (x * y) % 256));
    return image;
}

double MeanChannelDifference(const QImage& a, const QImage& b) {
    double total = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y);
            const QColor q = b.pixelColor(x, y);
            total += std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) +
                     std::abs(p.blue() - q.blue());
        }
    return total / (3.0 * a.width() * a.height());
}

int LargestChannelDifference(const QImage& a, const QImage& b) {
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y);
            const QColor q = b.pixelColor(x, y);
            largest = std::max({largest, std::abs(p.red() - q.red()),
                                std::abs(p.green() - q.green()), std::abs(p.blue() - q.blue())});
        }
    return largest;
}

// The format the file's content is in, whatever its name says.
QByteArray ContentFormat(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QImageReader reader(&file);
    return reader.format();
}

QImage ReadBack(const QString& path) {
    return ReadImageFile(path).image.convertToFormat(QImage::Format_RGB32);
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

quint32 Crc32(const QByteArray& bytes) {
    quint32 crc = 0xffffffffu;
    for (char byte : bytes) {
        crc ^= static_cast<quint8>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void AppendPngChunk(QByteArray& png, const QByteArray& type, const QByteArray& data) {
    const QByteArray chunk = type + data;
    QDataStream out(&png, QIODevice::Append);
    out.setByteOrder(QDataStream::BigEndian);
    out << quint32(data.size());
    out.writeRawData(chunk.constData(), chunk.size());
    out << Crc32(chunk);
}

// A PNG file whose header claims this size, with a few bytes of image data.
QByteArray PngHeader(quint32 width, quint32 height) {
    QByteArray header;
    QDataStream data(&header, QIODevice::WriteOnly);
    data.setByteOrder(QDataStream::BigEndian);
    data << width << height << quint8(8) << quint8(2) << quint8(0) << quint8(0) << quint8(0);
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    AppendPngChunk(png, "IHDR", header);
    AppendPngChunk(png, "IDAT", QByteArray("\x78\x9c\x63\x00\x00\x00\x01\x00\x01", 9));
    AppendPngChunk(png, "IEND", {});
    return png;
}

// A 24-bit BMP header claiming this size; no pixels follow.
QByteArray BmpHeader(qint32 width, qint32 height) {
    QByteArray bmp("BM");
    QDataStream out(&bmp, QIODevice::Append);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint32(54) << quint32(0) << quint32(54);
    out << quint32(40) << width << height << quint16(1) << quint16(24) << quint32(0) << quint32(0)
        << qint32(2835) << qint32(2835) << quint32(0) << quint32(0);
    return bmp;
}

} // namespace

class ImageFilesTest : public QObject {
    Q_OBJECT
private slots:
    void everyFormatIsWrittenAsItsExtensionSaysAndReadsBack();
    void aGifOfFewColoursKeepsEveryPixel();
    void aGifOfManyColoursTakesTheNearestCubeColours();
    void aGifWithoutItsTrailerStillReads();
    void aNameTheProgramCannotWriteIsRefusedBeforeAnythingIsWritten();
    void aFailedSaveLeavesTheExistingFileIntact();
    void anUnwritablePlaceGivesAReason();
    void aSaveReplacesAnEarlierFile();
    void theContentNotTheNameDecidesHowAFileIsRead();
    void missingEmptyAndNonPictureFilesAreRefused();
    void aTruncatedPictureIsRefused();
    void headersClaimingHugePicturesAreRefusedWithoutDecoding();
    void devicesPipesAndOtherFormatsAreNeverDecoded();
};

void ImageFilesTest::everyFormatIsWrittenAsItsExtensionSaysAndReadsBack() {
    QTemporaryDir folder;
    const QImage image = FewColours({120, 80});
    const struct {
        const char* name;
        QByteArray format;
        bool exact;
    } files[] = {{"map.png", "png", true},   {"map.bmp", "bmp", true},    {"map.gif", "gif", true},
                 {"map.jpg", "jpeg", false}, {"map.jpeg", "jpeg", false}, {"MAP.PNG", "png", true}};
    for (const auto& file : files) {
        const QString path = folder.filePath(file.name);
        QCOMPARE(WriteImageFile(image, path), QString());
        QCOMPARE(ContentFormat(path), file.format);
        const QImage back = ReadBack(path);
        QCOMPARE(back.size(), image.size());
        if (file.exact)
            QCOMPARE(back, image);
        else
            QVERIFY(MeanChannelDifference(back, image) < 8);
    }
}

void ImageFilesTest::aGifOfFewColoursKeepsEveryPixel() {
    const GifEncoding gif = EncodeGif(FewColours({33, 17}));
    QCOMPARE(gif.failure, QString());
    QVERIFY(gif.bytes.startsWith("GIF8"));
    QImage back;
    QVERIFY(back.loadFromData(gif.bytes, "gif"));
    QCOMPARE(back.convertToFormat(QImage::Format_RGB32), FewColours({33, 17}));
}

void ImageFilesTest::aGifOfManyColoursTakesTheNearestCubeColours() {
    QTemporaryDir folder;
    const QImage image = ManyColours({300, 260});
    const QString path = folder.filePath("many.gif");
    QCOMPARE(WriteImageFile(image, path), QString());
    const QImage back = ReadBack(path);
    QCOMPARE(back.size(), image.size());
    QVERIFY(LargestChannelDifference(back, image) <= 25);
    QCOMPARE(back.pixelColor(0, 0), QColor(0, 0, 0));
    QCOMPARE(back.pixelColor(255, 255), QColor(255, 255, 0));
    QCOMPARE(back.pixelColor(26, 76), QColor(51, 51, 204));
}

void ImageFilesTest::aGifWithoutItsTrailerStillReads() {
    QTemporaryDir folder;
    QByteArray bytes = EncodeGif(FewColours({30, 20})).bytes;
    QVERIFY(bytes.endsWith(';'));
    bytes.chop(1);
    WriteBytes(folder.filePath("open.gif"), bytes);
    QCOMPARE(ReadBack(folder.filePath("open.gif")), FewColours({30, 20}));
}

void ImageFilesTest::aNameTheProgramCannotWriteIsRefusedBeforeAnythingIsWritten() {
    QTemporaryDir folder;
    for (const char* name : {"map.tif", "map", "map.gif.txt"}) {
        const QString path = folder.filePath(name);
        QVERIFY(!IsWritableImageName(path));
        const QString failure = WriteImageFile(FewColours({10, 10}), path);
        QVERIFY(failure.contains(".jpg"));
        QVERIFY(failure.contains(".gif"));
        QVERIFY(!QFile::exists(path));
    }
    QVERIFY(QDir(folder.path()).isEmpty());
}

void ImageFilesTest::aFailedSaveLeavesTheExistingFileIntact() {
    QTemporaryDir folder;
    const QString path = folder.filePath("wide.gif");
    WriteBytes(path, "earlier contents");
    const QString failure = WriteImageFile(QImage(70000, 1, QImage::Format_RGB32), path);
    QVERIFY(failure.contains("65535"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("earlier contents"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"wide.gif"});

    // A write-protected picture is refused as the text exports refuse it.
    file.close();
    QVERIFY(file.setPermissions(QFileDevice::ReadOwner));
    QCOMPARE(WriteImageFile(FewColours({10, 10}), path), QString("Permission denied"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("earlier contents"));
}

void ImageFilesTest::anUnwritablePlaceGivesAReason() {
    QTemporaryDir folder;
    WriteBytes(folder.filePath("plain"), "a file, not a folder");
    for (const QString& path : {folder.filePath("plain/map.png"), folder.filePath("none/map.bmp"),
                                folder.path() + ".png/"}) {
        const QString failure = WriteImageFile(FewColours({10, 10}), path);
        QVERIFY2(!failure.isEmpty(), qPrintable(path));
    }
}

void ImageFilesTest::aSaveReplacesAnEarlierFile() {
    QTemporaryDir folder;
    const QString path = folder.filePath("map.bmp");
    QCOMPARE(WriteImageFile(FewColours({10, 10}), path), QString());
    QCOMPARE(WriteImageFile(FewColours({20, 30}), path), QString());
    QCOMPARE(ReadBack(path), FewColours({20, 30}));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"map.bmp"});
}

void ImageFilesTest::theContentNotTheNameDecidesHowAFileIsRead() {
    QTemporaryDir folder;
    const QString png = folder.filePath("map.png");
    QCOMPARE(WriteImageFile(FewColours({40, 30}), png), QString());
    const QString misnamed = folder.filePath("map.jpg");
    QVERIFY(QFile::copy(png, misnamed));
    QCOMPARE(ReadBack(misnamed), FewColours({40, 30}));
}

void ImageFilesTest::missingEmptyAndNonPictureFilesAreRefused() {
    QTemporaryDir folder;
    QVERIFY(!ReadImageFile(folder.filePath("none.png")).failure.isEmpty());
    QVERIFY(ReadImageFile(folder.filePath("none.png")).image.isNull());
    WriteBytes(folder.filePath("empty.bmp"), {});
    WriteBytes(folder.filePath("notes.gif"), "These are notes, not a picture.\n");
    QByteArray noise(5000, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 7919) % 251);
    WriteBytes(folder.filePath("noise.jpg"), noise);
    for (const char* name : {"empty.bmp", "notes.gif", "noise.jpg"}) {
        const ImageReadResult read = ReadImageFile(folder.filePath(name));
        QVERIFY2(read.image.isNull(), name);
        QVERIFY2(!read.failure.isEmpty(), name);
    }
    QVERIFY(!ReadImageFile(folder.path()).failure.isEmpty());
}

void ImageFilesTest::aTruncatedPictureIsRefused() {
    QTemporaryDir folder;
    for (const char* name : {"cut.png", "cut.gif", "cut.bmp", "cut.jpg"}) {
        const QString path = folder.filePath(name);
        QCOMPARE(WriteImageFile(ManyColours({200, 200}), path), QString());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray whole = file.readAll();
        file.close();
        WriteBytes(path, whole.left(whole.size() / 3));
        const ImageReadResult read = ReadImageFile(path);
        QVERIFY2(read.image.isNull(), name);
        QVERIFY2(!read.failure.isEmpty(), name);
    }
    // A whole PNG file but for a text chunk that claims 2^31-1 bytes before its end chunk.
    const QString path = folder.filePath("claims.png");
    QCOMPARE(WriteImageFile(ManyColours({20, 20}), path), QString());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    file.close();
    bytes.insert(bytes.size() - 12, QByteArray("\x7f\xff\xff\xfftEXt", 8));
    WriteBytes(path, bytes);
    QCOMPARE(ReadImageFile(path).failure, QString("the file is incomplete"));
}

void ImageFilesTest::headersClaimingHugePicturesAreRefusedWithoutDecoding() {
    QTemporaryDir folder;
    WriteBytes(folder.filePath("huge.png"), PngHeader(100000, 100000));
    WriteBytes(folder.filePath("huge.bmp"), BmpHeader(100000, 100000));
    for (const char* name : {"huge.png", "huge.bmp"}) {
        const ImageReadResult read = ReadImageFile(folder.filePath(name));
        QVERIFY2(read.image.isNull(), name);
        QVERIFY2(read.failure.contains("100000 by 100000 pixels"), qPrintable(read.failure));
        QVERIFY(read.failure.contains("too large"));
    }
    QVERIFY(!FitsImageLimit({100000, 100000}));
    QVERIFY(FitsImageLimit({8000, 8000}));
    QVERIFY(!FitsImageLimit({0, 10}));
    // Sizes whose byte count overflows 64 bits, and the one width beyond an int.
    QVERIFY(!FitsImageLimit({INT_MAX, INT_MAX}));
    WriteBytes(folder.filePath("widest.bmp"), BmpHeader(INT_MIN, INT_MAX));
    QVERIFY(ReadImageFile(folder.filePath("widest.bmp")).failure.contains("too large"));
}

void ImageFilesTest::devicesPipesAndOtherFormatsAreNeverDecoded() {
    QTemporaryDir folder;
    QVERIFY(QFile::link("/dev/zero", folder.filePath("zero.png")));
    const QString pipe = folder.filePath("pipe.bmp");
    QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const char* name : {"zero.png", "pipe.bmp"})
        QCOMPARE(ReadImageFile(folder.filePath(name)).failure, "it is not a regular file");
    // A picture Qt could decode, but not of a format the program offers.
    WriteBytes(folder.filePath("grey.bmp"), QByteArray("P5\n2 2\n255\n\x10\x20\x30\x40", 15));
    QCOMPARE(ReadImageFile(folder.filePath("grey.bmp")).failure,
             "it is not a picture the program can read");
}

QTEST_MAIN(ImageFilesTest)
#include "test_image_files.moc"
