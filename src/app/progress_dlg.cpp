#include "app/progress_dlg.h"

#include "platform/prompter.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {

// The question field is 260 x 50 dialog units: quarters of an average
// character wide, eighths of a line high.
constexpr int kQuestionWidthQuarterChars = 260;
constexpr int kQuestionHeightEighthLines = 50;

QString idName(int id)
{
    return QString::number(id);
}

}  // namespace

CProgressDlg::CProgressDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("AutoEdit-Fortschritt"));
    setWindowModality(Qt::ApplicationModal);

    auto* caption = new QLabel(QStringLiteral("Fortschritt:"), this);
    m_step = new QLabel(QStringLiteral("100/134"), this);
    m_step->setObjectName(idName(IDC_STEP));

    m_bar = new QProgressBar(this);
    m_bar->setObjectName(idName(IDC_PROGRESS));
    m_bar->setTextVisible(false);

    m_question = new QLabel(this);
    m_question->setObjectName(idName(IDC_QUESTION));
    m_question->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_question->setTextFormat(Qt::PlainText);
    m_question->setWordWrap(true);
    m_question->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const QFontMetrics metrics = fontMetrics();
    m_question->setMinimumSize(metrics.averageCharWidth() * kQuestionWidthQuarterChars / 4,
                               metrics.height() * kQuestionHeightEighthLines / 8);

    m_yes = new QPushButton(QStringLiteral("&Ja"), this);
    m_yes->setObjectName(idName(IDC_YES));
    m_yes->setDefault(true);
    auto* no = new QPushButton(QStringLiteral("&Nein"), this);
    no->setObjectName(idName(IDC_NO));
    auto* cancel = new QPushButton(QStringLiteral("&Abbrechen"), this);
    cancel->setObjectName(idName(IDC_CANCEL));
    connect(m_yes, &QPushButton::clicked, this, [this] { answer(platform::Answer::Yes); });
    connect(no, &QPushButton::clicked, this, [this] { answer(platform::Answer::No); });
    connect(cancel, &QPushButton::clicked, this, &CProgressDlg::reject);

    auto* progress = new QHBoxLayout;
    progress->addWidget(caption);
    progress->addWidget(m_step);
    progress->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_yes);
    buttons->addWidget(no);
    buttons->addWidget(cancel);

    auto* layout = new QGridLayout(this);
    layout->addLayout(progress, 0, 0);
    layout->addWidget(m_bar, 1, 0);
    layout->addWidget(m_question, 2, 0);
    layout->addLayout(buttons, 3, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CProgressDlg::Step(int m)
{
    ++m_nStep;
    m_bar->setRange(1, m);
    m_bar->setValue(m_nStep);
    m_step->setText(QStringLiteral("%1/%2").arg(m_nStep).arg(m));
    // The run keeps the event loop waiting until it ends; show the step now.
    // Clicks stay queued for pollCancel() or the next question.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

platform::Answer CProgressDlg::Ask(std::string_view text)
{
    m_question->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    show();
    raise();
    activateWindow();
    m_yes->setFocus();

    QEventLoop loop;
    m_loop = &loop;
    // The loop ends with the answer as its code.
    const int code = loop.exec(QEventLoop::DialogExec);
    m_loop = nullptr;
    m_question->clear();
    return static_cast<platform::Answer>(code);
}

bool CProgressDlg::pollCancel()
{
    QCoreApplication::processEvents();
    return m_bCancelPressed;
}

void CProgressDlg::reject()
{
    if (m_loop)
        m_loop->exit(static_cast<int>(platform::Answer::Cancel));
    else
        m_bCancelPressed = true;
}

void CProgressDlg::answer(platform::Answer reply)
{
    // "&Ja" and "&Nein" mean nothing while no question waits.
    if (m_loop)
        m_loop->exit(static_cast<int>(reply));
}
