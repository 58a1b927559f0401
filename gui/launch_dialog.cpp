#include "gui/launch_dialog.h"

#include "core/recent_files.h"
#include "gui/launch_dialog_handler.h"
#include "gui/recent_file_delegate.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QStandardItemModel>

// The launch dialog's icons live in this library's resources; a static library's resources
// must be pulled in by name, from outside any namespace.
static void loadLaunchDialogResources()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(launch_dialog);
        return true;
    }();
    (void)loaded;
}

LaunchDialog::LaunchDialog(RecentFiles* recentFiles, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint),
      recentFiles(recentFiles), model(new QStandardItemModel(this))
{
    loadLaunchDialogResources();
    ui.setupUi(this);
    ui.newButton->setIcon(QIcon(QStringLiteral(":/icons/32x32/new_document.png")));
    ui.openButton->setIcon(QIcon(QStringLiteral(":/icons/32x32/open_document.png")));
    ui.exitButton->setIcon(QIcon(QStringLiteral(":/icons/32x32/exit.png")));

    refreshRecentFiles();
    ui.recentFileList->setModel(model);
    ui.recentFileList->setItemDelegate(new RecentFileDelegate(this));
    // The delegate marks the row under the mouse.
    ui.recentFileList->setMouseTracking(true);
    ui.recentFileList->viewport()->installEventFilter(this);

    connect(ui.newButton, &QAbstractButton::clicked, this, &LaunchDialog::onNewClicked);
    connect(ui.openButton, &QAbstractButton::clicked, this, &LaunchDialog::onOpenClicked);
    connect(ui.exitButton, &QAbstractButton::clicked, this, &LaunchDialog::onExitClicked);
    connect(ui.recentFileList, &QAbstractItemView::activated, this,
            &LaunchDialog::onRecentFileClicked);
    connect(ui.recentFileList, &QAbstractItemView::clicked, this,
            &LaunchDialog::onRecentFileClicked);
    connect(recentFiles, &RecentFiles::changed, this, &LaunchDialog::refreshRecentFiles);
    ui.recentFileList->setFocus();
}

LaunchDialog::~LaunchDialog() = default;

void LaunchDialog::run(LaunchDialogHandler* handler)
{
    for (;;) {
        const int result = exec();
        bool opened = false;
        switch (result) {
        case Exit:
            QCoreApplication::quit();
            return;
        case New:
            opened = handler->newDocument();
            break;
        case Open:
            opened = handler->openDocument();
            break;
        case OpenRecent:
            opened = handler->openDocument(chosenPath);
            break;
        case Dismissed:
            return;
        default:
            break;
        }
        if (opened)
            return;
    }
}

void LaunchDialog::dismiss()
{
    done(Dismissed);
}

void LaunchDialog::setHeaderPixmap(const QPixmap& pixmap)
{
    ui.headerLabel->setPixmap(pixmap);
}

void LaunchDialog::onNewClicked()
{
    done(New);
}

void LaunchDialog::onOpenClicked()
{
    done(Open);
}

void LaunchDialog::onExitClicked()
{
    done(Exit);
}

void LaunchDialog::onRecentFileClicked(const QModelIndex& index)
{
    chosenPath = index.data(RecentFileDelegate::PathRole).toString();
    done(chosenPath.isEmpty() ? Open : OpenRecent);
}

void LaunchDialog::refreshRecentFiles()
{
    model->removeRows(0, model->rowCount());
    const std::list<QString> files = recentFiles->files();
    if (files.empty()) {
        auto* browse = new QStandardItem(QIcon(QStringLiteral(":/icons/32x32/open_document.png")),
                                         tr("Browse for an existing file..."));
        browse->setEditable(false);
        model->appendRow(browse);
        return;
    }
    const QFileIconProvider icons;
    for (const QString& path : files) {
        const QFileInfo file(path);
        auto* item = new QStandardItem(icons.icon(file), file.fileName());
        item->setData(path, RecentFileDelegate::PathRole);
        item->setEditable(false);
        model->appendRow(item);
    }
    ui.recentFileList->setModel(model);
}

bool LaunchDialog::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        const std::pair<QKeySequence::StandardKey, Result> keys[] = {
            {QKeySequence::New, New}, {QKeySequence::Open, Open}, {QKeySequence::Quit, Exit}};
        for (const auto& [standardKey, result] : keys) {
            if (key->matches(standardKey)) {
                done(result);
                event->accept();
                return true;
            }
        }
    }
    return QDialog::event(event);
}

bool LaunchDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != ui.recentFileList->viewport())
        return QDialog::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::ContextMenu: {
        ui.recentFileList->viewport()->update();
        auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        const QModelIndex index = ui.recentFileList->indexAt(menuEvent->pos());
        const QString path = index.data(RecentFileDelegate::PathRole).toString();
        if (path.isEmpty())
            return true;
        QMenu menu;
        QAction* remove = menu.addAction(tr("Remove from list"));
        if (menu.exec(menuEvent->globalPos()) == remove)
            recentFiles->removeFile(path);
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        // Right and middle clicks neither select nor open a row.
        return static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton;
    default:
        return QDialog::eventFilter(watched, event);
    }
}

void LaunchDialog::closeEvent(QCloseEvent* event)
{
    done(Exit);
    event->accept();
}
