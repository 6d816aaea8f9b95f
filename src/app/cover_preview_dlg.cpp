#include "app/cover_preview_dlg.h"

#include "qtgui/qt_cover_canvas.h"
#include "view/cover_painting.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

// The picture is shown a quarter of its size: 450 x 352 pixels.
constexpr int kShownWidth = 450;
constexpr int kSmallestPoints = 4;
constexpr int kLargestPoints = 96;

}  // namespace

view::FontDescription CoverPreviewDlg::describe(const QFont& font)
{
    view::FontDescription description;
    description.face = font.family().toStdString();
    const QFontInfo info(font);
    description.height = -std::max(1, info.pixelSize());
    description.weight = font.weight();
    description.italic = font.italic();
    description.underline = font.underline();
    description.strikeOut = font.strikeOut();
    return description;
}

CoverPreviewDlg::CoverPreviewDlg(qtgui::QtCoverCanvas& canvas, view::CoverTexts texts, const QFont& start,
                                 QWidget* parent)
    : QDialog(parent),
      canvas_(canvas),
      texts_(std::move(texts)),
      font_(start),
      face_(new QFontComboBox(this)),
      size_(new QSpinBox(this)),
      picture_(new QLabel(this))
{
    setWindowTitle(QStringLiteral("CD-Cover"));
    face_->setObjectName(QStringLiteral("face"));
    face_->setCurrentFont(font_);
    size_->setObjectName(QStringLiteral("size"));
    size_->setRange(kSmallestPoints, kLargestPoints);
    size_->setSuffix(QStringLiteral(" pt"));
    size_->setValue(std::clamp(font_.pointSize(), kSmallestPoints, kLargestPoints));
    picture_->setObjectName(QStringLiteral("picture"));
    picture_->setFrameShape(QFrame::Box);
    auto* more = new QPushButton(QStringLiteral("&Schrift..."), this);
    more->setObjectName(QStringLiteral("font"));

    auto* fontRow = new QHBoxLayout;
    auto* faceLabel = new QLabel(QStringLiteral("Schrift&art:"), this);
    faceLabel->setBuddy(face_);
    fontRow->addWidget(faceLabel);
    fontRow->addWidget(face_, 1);
    auto* sizeLabel = new QLabel(QStringLiteral("&Größe:"), this);
    sizeLabel->setBuddy(size_);
    fontRow->addWidget(sizeLabel);
    fontRow->addWidget(size_);
    fontRow->addWidget(more);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* save = buttons->addButton(QStringLiteral("&Speichern..."), QDialogButtonBox::AcceptRole);
    save->setObjectName(QStringLiteral("save"));
    save->setDefault(true);
    buttons->addButton(QStringLiteral("&Abbrechen"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fontRow);
    layout->addWidget(picture_, 1, Qt::AlignCenter);
    layout->addWidget(buttons);

    redraw();
    connect(face_, &QFontComboBox::currentFontChanged, this, [this](const QFont& chosen) {
        font_.setFamily(chosen.family());
        redraw();
    });
    connect(size_, &QSpinBox::valueChanged, this, [this](int points) {
        font_.setPointSize(points);
        redraw();
    });
    connect(more, &QPushButton::clicked, this, &CoverPreviewDlg::chooseFont);
}

void CoverPreviewDlg::chooseFont()
{
    bool chosen = false;
    const QFont font = QFontDialog::getFont(&chosen, font_, this);
    if (!chosen)
        return;
    font_ = font;
    // The boxes follow without drawing twice.
    const QSignalBlocker faceQuiet(face_);
    const QSignalBlocker sizeQuiet(size_);
    face_->setCurrentFont(font_);
    size_->setValue(std::clamp(font_.pointSize(), kSmallestPoints, kLargestPoints));
    redraw();
}

void CoverPreviewDlg::redraw()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    view::drawCover(canvas_, texts_, describe(font_));
    QApplication::restoreOverrideCursor();
    ++drawings_;
    // As sharp as the screen allows.
    const qreal ratio = devicePixelRatioF();
    QPixmap shown = QPixmap::fromImage(
        canvas_.image().scaledToWidth(static_cast<int>(kShownWidth * ratio), Qt::SmoothTransformation));
    shown.setDevicePixelRatio(ratio);
    picture_->setPixmap(shown);
}
