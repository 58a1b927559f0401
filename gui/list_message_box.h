#pragma once

#include <QDialog>
#include <QMessageBox>
#include <QString>
#include <QStringList>

class QLabel;

// A message about many things at once, one line each (files refused, say): the icon of a
// message box, the text, then the lines in a read-only list that the user can select and copy
// from, and OK. The list takes as many lines as fit in a third of the screen's height, lines
// as wide as half its width, and scrolls past that, so that the window stays on the screen
// however many lines there are.
class ListMessageBox : public QDialog
{
    Q_OBJECT

public:
    ListMessageBox(QMessageBox::Icon icon, const QString& title, const QString& text,
                   const QStringList& lines, QWidget* parent = nullptr);
    ~ListMessageBox() override;

    QString text() const;
    QStringList lines() const;

    // Shows the message modally, with the critical icon, and returns when it is closed.
    static void critical(QWidget* parent, const QString& title, const QString& text,
                         const QStringList& lines);

private:
    QLabel* m_text = nullptr;
    QStringList m_lines;
};
