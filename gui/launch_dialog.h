#pragma once

#include "gui/launch_dialog_form.h"

#include <QDialog>
#include <QPixmap>
#include <QString>

class LaunchDialogHandler;
class QModelIndex;
class QStandardItemModel;
class RecentFiles;

// The window offered while no project is open: New, Open, Exit and the recently used files.
// Its result says what the user chose: 0 exit, 1 new, 2 open a file still to be chosen, 3 open
// the chosen recent file (recentFilePath()), 4 nothing (dismissed from outside). run() shows it
// until the handler has opened something or the user quits.
class LaunchDialog : public QDialog
{
    Q_OBJECT

public:
    enum Result
    {
        Exit = 0,
        New = 1,
        Open = 2,
        OpenRecent = 3,
        Dismissed = 4
    };

    // The recent-file list is not owned; the dialog's list follows its changes.
    explicit LaunchDialog(RecentFiles* recentFiles, QWidget* parent = nullptr);
    ~LaunchDialog() override;

    // Shows the dialog modally and hands each choice to the handler, showing it again while the
    // handler answers false. Exit quits the application without asking the handler.
    void run(LaunchDialogHandler* handler);
    // Ends the dialog with result 4, so that run() returns without asking the handler.
    void dismiss();

    void setHeaderPixmap(const QPixmap& pixmap);
    // The path of the recent file chosen last; null before any.
    const QString& recentFilePath() const { return chosenPath; }

public slots:
    void onNewClicked();
    void onOpenClicked();
    void onExitClicked();
    void onRecentFileClicked(const QModelIndex& index);
    void refreshRecentFiles();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    Ui::LaunchDialog ui;

private:
    RecentFiles* recentFiles;
    QStandardItemModel* model;
    QString chosenPath;
};
