#pragma once

#include <QItemSelection>
#include <QSortFilterProxyModel>
#include <QString>
#include <QWizardPage>
#include <memory>

class CenteredIconGridView;
class LayoutViewDelegate;
class QLabel;
class QMovie;
class QStackedWidget;
class QToolButton;
struct NewPageData;

// The layout library's rows that suit a page orientation: for 1 (landscape) or 2 (portrait)
// the templates of that orientation and those for any (0); for 0 every template. A row whose
// orientation is missing or not a number counts as one for any orientation.
class LayoutProxyModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit LayoutProxyModel(QObject* parent = nullptr);

    unsigned int orientation() const { return wantedOrientation; }
    void setOrientation(unsigned int orientation);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    unsigned int wantedOrientation = 0;
};

// The page of the new-page wizard that picks the template the new page starts from: a grid
// of the layout library's templates that suit the project's orientation, drawn as
// thumbnails. Complete while a template is selected.
//
// A button reloads the library, which runs in the background; while it runs an animation and
// "Loading..." stand in for the button and the grid is disabled without a selection.
class PageLayoutPage : public QWizardPage
{
    Q_OBJECT

public:
    // The layout library must exist.
    explicit PageLayoutPage(QWidget* parent = nullptr);
    ~PageLayoutPage() override;

    // 0 any, 1 landscape, 2 portrait: the thumbnails drawn and the templates listed.
    void setOrientation(int orientation);
    // Selects the record's template when it is listed.
    void setNewPageData(const NewPageData& data);
    // The selected template's name; empty when none is selected (and for the blank template).
    const QString& layoutName() const { return m_layoutName; }

    void initializePage() override;
    bool isComplete() const override;

private slots:
    void onLayoutSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void onRefreshClicked();
    void onRefreshStarted();
    void onRefreshFinished();

private:
    QString m_layoutName;
    std::unique_ptr<LayoutProxyModel> proxy;
    LayoutViewDelegate* delegate;
    CenteredIconGridView* view;
    QToolButton* refreshButton;
    QLabel* loadingLabel;
    QLabel* movieLabel;
    QMovie* movie;
    QStackedWidget* stack;
};
