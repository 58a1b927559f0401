#include "gui/list_message_box.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>
#include <algorithm>
#include <cmath>

ListMessageBox::ListMessageBox(QMessageBox::Icon icon, const QString& title, const QString& text,
                               const QStringList& lines, QWidget* parent)
    : QDialog(parent), m_lines(lines)
{
    setWindowTitle(title);

    QStyle::StandardPixmap picture = QStyle::SP_MessageBoxInformation;
    if (icon == QMessageBox::Warning)
        picture = QStyle::SP_MessageBoxWarning;
    else if (icon == QMessageBox::Critical)
        picture = QStyle::SP_MessageBoxCritical;
    else if (icon == QMessageBox::Question)
        picture = QStyle::SP_MessageBoxQuestion;
    auto* iconLabel = new QLabel(this);
    if (icon != QMessageBox::NoIcon) {
        const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        iconLabel->setPixmap(style()->standardIcon(picture, nullptr, this).pixmap(iconSize));
    }
    iconLabel->setAlignment(Qt::AlignTop);

    // Texts are shown as they are: a file name is never read as markup.
    m_text = new QLabel(this);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    m_text->setText(text);

    auto* list = new QPlainTextEdit(this);
    list->setReadOnly(true);
    list->setLineWrapMode(QPlainTextEdit::NoWrap);
    list->setPlainText(lines.join(QLatin1Char('\n')));

    // Room for every line where the screen has it; the list scrolls past that.
    const QFontMetrics metrics = list->fontMetrics();
    int widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const QRect screenArea = screen() ? screen()->availableGeometry() : QRect(0, 0, 800, 600);
    const int frame = 2 * list->frameWidth() + 2 * int(list->document()->documentMargin());
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int wanted = widest + frame + scrollBar;
    const int width = std::min(wanted, screenArea.width() / 2);
    const int shownLines = std::min<int>(
        int(lines.size()), std::max(1, screenArea.height() / 3 / metrics.lineSpacing()));
    // Lines are laid out at their exact height, a fraction of a pixel over the rounded one;
    // lines cut by the width scroll sideways, and the scroll bar takes room of its own.
    const qreal lineHeight = QFontMetricsF(list->font()).lineSpacing();
    list->setMinimumSize(width, int(std::ceil(shownLines * lineHeight)) + 1 + frame +
                                    (width < wanted ? scrollBar : 0));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(iconLabel, 0, 0, 2, 1);
    layout->addWidget(m_text, 0, 1);
    layout->addWidget(list, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    layout->setRowStretch(1, 1);
    layout->setColumnStretch(1, 1);
    // As small as shows the lines; the user may make it larger.
    resize(minimumSizeHint());
}

ListMessageBox::~ListMessageBox() = default;

QString ListMessageBox::text() const
{
    return m_text->text();
}

QStringList ListMessageBox::lines() const
{
    return m_lines;
}

void ListMessageBox::critical(QWidget* parent, const QString& title, const QString& text,
                              const QStringList& lines)
{
    ListMessageBox box(QMessageBox::Critical, title, text, lines, parent);
    box.exec();
}
