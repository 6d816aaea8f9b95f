// The program's own icons: drawn for every toolbar position, sharp at 16
// pixels and at twice that scale, and an application icon up to 256 pixels.

#include "window_fixture.h"

#include "app/command_table.h"

#include <QIcon>
#include <QImage>
#include <QToolBar>

using apptest::WindowTest;

namespace {

// Pixels that are not fully transparent.
int opaquePixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0;
    }
    return count;
}

}  // namespace

TEST_F(WindowTest, EveryToolbarButtonHasADrawnIconOfItsOwn)
{
    QList<QImage> seen;
    for (const int id : toolbar()) {
        if (id == commands::kSeparator)
            continue;
        const QIcon icon = frame_->action(id)->icon();
        ASSERT_FALSE(icon.isNull()) << id;
        const QImage small = icon.pixmap(QSize(16, 16), 1.0).toImage();
        const QImage doubled = icon.pixmap(QSize(16, 16), 2.0).toImage();
        ASSERT_EQ(small.size(), QSize(16, 16)) << id;
        ASSERT_EQ(doubled.size(), QSize(32, 32)) << id;
        EXPECT_GT(opaquePixels(small), 40) << id;
        // Drawn anew at twice the size, not the small one blown up.
        EXPECT_NE(doubled.convertToFormat(QImage::Format_ARGB32),
                  small.scaled(32, 32).convertToFormat(QImage::Format_ARGB32))
            << id;
        EXPECT_FALSE(seen.contains(small)) << id << " looks like another button";
        seen << small;
    }
    EXPECT_EQ(seen.size(), 16);
}

TEST_F(WindowTest, TheApplicationIconServesLargeAndSmallSizes)
{
    const QIcon icon = QApplication::windowIcon();
    for (const int size : {16, 48, 256}) {
        const QImage image = icon.pixmap(QSize(size, size)).toImage();
        EXPECT_EQ(image.size(), QSize(size, size));
        EXPECT_GT(opaquePixels(image), size * size / 3) << size;
    }
    for (const char* file : {"liedkram-48.png", "liedkram-256.png"}) {
        const QImage image(QStringLiteral(LIEDKRAM_RES_DIR "/") + QString::fromLatin1(file));
        EXPECT_FALSE(image.isNull()) << file;
    }
    EXPECT_EQ(QImage(QStringLiteral(LIEDKRAM_RES_DIR "/liedkram-48.png")).width(), 48);
    EXPECT_EQ(QImage(QStringLiteral(LIEDKRAM_RES_DIR "/liedkram-256.png")).width(), 256);
}
