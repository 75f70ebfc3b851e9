#include "app/DetailsBox.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Measuring every line of a 10 MiB contact would cost more than showing it; the width of the
// first lines, each cut to what could fit on any screen, says all the box needs to know.
constexpr int kMeasuredLines = 2000;
constexpr int kMeasuredChars = 400;
// Room for the window frame the window manager adds around the box.
constexpr int kFrameAllowance = 48;

// The size the box takes for its text: the text's own size where it fits, never more than the
// available area (the screen without task bars and docks), less room for the frame.
QSize fittedSize(const QSize& textSize, const QSize& chrome, const QRect& available) {
    const QSize most = available.size() - QSize(kFrameAllowance, kFrameAllowance);
    const QSize wanted = textSize + chrome;
    return {std::clamp(wanted.width(), std::min(240, most.width()), most.width()),
            std::clamp(wanted.height(), std::min(120, most.height()), most.height())};
}

}  // namespace

DetailsBox::DetailsBox(const QString& text, const QString& title, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DetailsBox"));
    setWindowTitle(title);
    setModal(true);
    setSizeGripEnabled(true);

    // Made here, not in the initializer list: children stack in the order they are made, and the
    // size grip made above must stay where it was.
    m_txtDetails = new QPlainTextEdit(this);  // NOLINT(cppcoreguidelines-prefer-member-initializer)
    m_txtDetails->setObjectName(QStringLiteral("txtDetails"));
    m_txtDetails->setReadOnly(true);
    m_txtDetails->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // A vCard shows as its lines, one below the other; a long line scrolls sideways.
    m_txtDetails->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_txtDetails->setFrameShape(QFrame::NoFrame);
    m_txtDetails->setPlainText(text);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_txtDetails, 1);
    layout->addWidget(buttons);

    const QScreen* shownOn = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect available = shownOn ? shownOn->availableGeometry() : QRect(0, 0, 1024, 768);
    const QSize chrome = layout->sizeHint() - m_txtDetails->sizeHint();
    setMaximumSize(available.size() - QSize(kFrameAllowance, kFrameAllowance));
    resize(fittedSize(textSize(text), chrome, available));
    ok->setFocus();
}

QSize DetailsBox::textSize(const QString& text) const {
    const QFontMetrics metrics(m_txtDetails->font());
    int widest = 0;
    qsizetype start = 0;
    for (int line = 0; line < kMeasuredLines && start <= text.size(); ++line) {
        const qsizetype end = text.indexOf(u'\n', start);
        const qsizetype length = (end < 0 ? text.size() : end) - start;
        widest =
            std::max(widest, metrics.horizontalAdvance(text.mid(start, std::min<qsizetype>(length, kMeasuredChars))));
        if (end < 0) {
            break;
        }
        start = end + 1;
    }
    // The document's margin and a scroll bar's width, so text that fits shows without one.
    const int margins = 2 * static_cast<int>(m_txtDetails->document()->documentMargin()) + 4;
    const int scrollBar = m_txtDetails->verticalScrollBar()->sizeHint().width();
    const qsizetype lines = std::min<qsizetype>(text.count(u'\n') + 1, 100000);
    return {widest + margins + scrollBar, static_cast<int>(lines * metrics.lineSpacing() + margins)};
}
