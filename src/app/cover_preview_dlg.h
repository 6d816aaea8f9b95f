#pragma once

#include "view/cover_canvas.h"
#include "view/cover_texts.h"

#include <QDialog>
#include <QFont>

class QFontComboBox;
class QLabel;
class QSpinBox;

namespace qtgui {
class QtCoverCanvas;
}

// The cover as it will be saved, drawn anew whenever the font or its size
// changes; "Speichern..." takes it as shown, "Abbrechen" writes nothing.
// The whole font dialog stays a click away for weight and style.
class CoverPreviewDlg : public QDialog {
    Q_OBJECT
public:
    CoverPreviewDlg(qtgui::QtCoverCanvas& canvas, view::CoverTexts texts, const QFont& start,
                    QWidget* parent = nullptr);

    const QFont& coverFont() const { return font_; }
    QFontComboBox* faceBox() const { return face_; }
    QSpinBox* sizeBox() const { return size_; }
    QLabel* picture() const { return picture_; }
    // How often the cover was drawn.
    int drawings() const { return drawings_; }

    // The chosen font as the cover fitting takes it: its height the way the
    // font dialog reports it, a negative character height in screen pixels.
    static view::FontDescription describe(const QFont& font);

private:
    void chooseFont();
    void redraw();

    qtgui::QtCoverCanvas& canvas_;
    view::CoverTexts texts_;
    QFont font_;
    QFontComboBox* face_;
    QSpinBox* size_;
    QLabel* picture_;
    int drawings_ = 0;
};
