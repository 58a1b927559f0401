#include "appengine/selection_manager.h"
#include "appengine/theme_image_model.h"
#include "common/file_size_limit.h"
#include "common/helpers.h"
#include "common/isolated_app_data.h"
#include "common/sample_themes.h"
#include "main/velmora_document.h"
#include "velmora_objects/button.h"
#include "velmora_objects/control_factory.h"
#include "velmora_objects/qml/qml_module.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/streamer.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_file_writer.h"

#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickImageProvider>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace Velmora;

namespace {

class DocumentTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    QString file(const QString& name) const { return folder.filePath(name); }

    QString bundleOf(const Theme& theme, const QString& name)
    {
        ThemeFileWriter writer(&theme, nullptr);
        EXPECT_TRUE(writer.write(file(name)));
        return file(name);
    }

    // A new project in the document, saved nowhere yet; its theme read from the bundle.
    unsigned int create(const QString& themeFile = QString(), int orientation = 1)
    {
        NewProjectData data;
        data.name = "Hall";
        data.path = file("hall.qvp");
        data.orientation = orientation;
        data.themeFile = themeFile;
        return document->createProject(data);
    }

    unsigned int addPage(const QString& name = QString())
    {
        NewPageData data;
        data.name = name;
        return document->addPage(data);
    }

    unsigned int addControl(unsigned int pageId, ControlType type, const QString& key)
    {
        smart_ptr<Control> control(ControlFactory::get(type)->create({}));
        control->setPageId(pageId);
        control->setName(key);
        const unsigned int id = document->insertControl(control, UINT_MAX);
        document->getPage(pageId).getControlIds().insert(id);
        return id;
    }

    static QByteArray bytesOf(const Configuration& project)
    {
        QByteArray bytes;
        Streamer streamer;
        streamer.open(Streamer::Mode_WRITE, &bytes);
        project.write(streamer, false);
        return bytes;
    }

    // The page list as shown: names in the proxy's order.
    QStringList pageList() const
    {
        QStringList names;
        const QAbstractItemModel* model = document->pageModel();
        for (int row = 0; row < model->rowCount(); ++row)
            names << model->index(row, 0).data().toString();
        return names;
    }

    QStringList pageOrder() const
    {
        QStringList names;
        for (const Page& page : document->getPages())
            names << page.getName();
        return names;
    }

    void expectEmpty(const VelmoraDocument& d) const
    {
        EXPECT_TRUE(d.path().isNull());
        EXPECT_EQ(d.getTheme(), nullptr);
        EXPECT_TRUE(d.getPages().empty());
        EXPECT_TRUE(d.getControls().empty());
        EXPECT_EQ(d.pageModel()->rowCount(), 0);
        EXPECT_TRUE(d.pageGUIData().empty());
        EXPECT_EQ(d.backgroundImageModel(), nullptr);
        EXPECT_EQ(d.iconModel(), nullptr);
        EXPECT_EQ(d.controlImageModel(), nullptr);
        EXPECT_EQ(d.defaultPageName(), "Page 1");
    }

    TestUtil::IsolatedAppData appData;
    QTemporaryDir folder;
    std::unique_ptr<VelmoraDocument> document = std::make_unique<VelmoraDocument>();
};

} // namespace

TEST_F(DocumentTest, CreatedProjectSavesLoadsAndSavesAgainToTheSameBytes)
{
    const unsigned int first = create(bundleOf(*TestUtil::sampleTheme(), "blue.qvt"), 2);
    EXPECT_TRUE(document->neverSaved());
    EXPECT_EQ(document->getDefaultPageId(), first);
    EXPECT_EQ(document->getPage(first).getName(), "Page 1");
    ASSERT_NE(document->getTheme(), nullptr);
    EXPECT_EQ(document->getTheme()->getName(), "Blue");
    EXPECT_EQ(document->backgroundImageModel()->rowCount(), 3);
    EXPECT_EQ(document->pageModel()->index(0, 0).data(Qt::SizeHintRole), QSize(100, 120));
    addControl(addPage("Lights"), ControlType_SLIDER, "slider001");

    document->save(false);
    EXPECT_FALSE(document->neverSaved());
    EXPECT_TRUE(document->undoStack().isClean());
    const QByteArray saved = TestUtil::readFile(file("hall.qvp"));

    VelmoraDocument reloaded;
    reloaded.load(file("hall.qvp"));
    EXPECT_FALSE(reloaded.neverSaved());
    EXPECT_EQ(reloaded.getDefaultPageId(), first);
    EXPECT_EQ(reloaded.pageModel()->rowCount(), 2);
    reloaded.saveAs(file("again.qvp"), false);
    EXPECT_EQ(TestUtil::readFile(file("again.qvp")), saved);
}

// Control keys and page names in use keep the default names of new ones after them; only a
// whole, case-exact match counts.
TEST_F(DocumentTest, LoadSetsTheNameCountersFromTheNamesInUse)
{
    const unsigned int page = create();
    document->setPageName(page, "Page 7");
    addPage("page 9");
    addPage("Page 30x");
    const std::pair<ControlType, const char*> controls[] = {
        {ControlType_BUTTON, "button007"}, {ControlType_BUTTON, "button012"},
        {ControlType_BUTTON, "Button50"},  {ControlType_BUTTON, "button50a"},
        {ControlType_LABEL, "button90"},   {ControlType_SLIDER, "slider3"},
        {ControlType_KEYPAD, ""},
    };
    for (const auto& [type, key] : controls)
        addControl(page, type, key);
    document->save(false);
    document->clear();

    document->load(file("hall.qvp"));
    EXPECT_EQ(document->defaultPageName(), "Page 8");
    const std::pair<ControlType, const char*> expected[] = {
        {ControlType_BUTTON, "button013"},        {ControlType_SLIDER, "slider004"},
        {ControlType_COLOUR_PICKER, "colour001"}, {ControlType_KEYPAD, "keypad001"},
        {ControlType_LABEL, "label001"},          {ControlType_CLOCK, "clock001"},
    };
    for (const auto& [type, key] : expected)
        EXPECT_EQ(document->nextControlName(type), key) << type;
}

TEST_F(DocumentTest, LoadReportsOneStepPerPageAndControl)
{
    const std::pair<int, int> cases[] = {{1, 0}, {3, 0}, {2, 5}};
    for (const auto& [pages, controls] : cases) {
        document->clear();
        const unsigned int first = create();
        for (int i = 1; i < pages; ++i)
            addPage();
        for (int i = 0; i < controls; ++i)
            addControl(first, ControlType_LABEL, QString());
        document->save(false);
        document->clear();

        QSignalSpy steps(document.get(), &VelmoraDocument::loadProgressSteps);
        QSignalSpy changes(document.get(), &VelmoraDocument::loadProgressChanged);
        document->load(file("hall.qvp"));
        ASSERT_EQ(steps.count(), 1);
        EXPECT_EQ(steps[0][0].toInt(), pages + controls + 1);
        ASSERT_EQ(changes.count(), pages + controls + 2);
        for (int i = 0; i < changes.count(); ++i)
            EXPECT_EQ(changes[i][0].toInt(), i);
    }
}

// A load that fails part of the way leaves nothing for the next project to build on.
TEST_F(DocumentTest, FailedLoadEmptiesTheDocumentBeforeReporting)
{
    const unsigned int first = create();
    for (int i = 0; i < 5; ++i)
        addControl(addPage(), ControlType_BUTTON, QString());
    document->save(false);
    const QByteArray good = TestUtil::readFile(file("hall.qvp"));
    ASSERT_TRUE(TestUtil::writeFile(file("cut.qvp"), good.left(good.size() * 2 / 3)));
    document->clear();

    for (const QString& bad : {file("cut.qvp"), file("missing.qvp")}) {
        EXPECT_NE(TestUtil::runtimeErrorOf([&] { document->load(bad); }), "<no error>");
        expectEmpty(*document);
    }
    document->load(file("hall.qvp"));
    EXPECT_EQ(document->getPages().size(), 6u);
    EXPECT_EQ(document->getDefaultPageId(), first);
}

TEST_F(DocumentTest, UnreadableThemeBundleRaisesOutOfCreateAndLeavesTheDocumentEmpty)
{
    ASSERT_TRUE(TestUtil::writeFile(file("broken.qvt"), "not a bundle"));
    EXPECT_NE(TestUtil::runtimeErrorOf([&] { create(file("broken.qvt")); }), "<no error>");
    expectEmpty(*document);
    EXPECT_FALSE(document->neverSaved());

    create();
    EXPECT_EQ(document->getPages().size(), 1u);
    EXPECT_NE(document->getTheme(), nullptr);
}

TEST_F(DocumentTest, ClearTakesDownProviderModuleAndRows)
{
    create(bundleOf(*TestUtil::sampleTheme(), "blue.qvt"));
    addPage();
    document->preparePreview();
    const QString provider = QString("theme%1").arg(document->getSerial());
    QQmlContext* context = document->engine()->rootContext();
    ASSERT_NE(document->engine()->imageProvider(provider), nullptr);
    EXPECT_EQ(VelmoraQML::context(), context);
    EXPECT_NE(context->contextProperty("controller").value<QObject*>(), nullptr);

    document->clear();
    expectEmpty(*document);
    EXPECT_EQ(document->engine()->imageProvider(provider), nullptr);
    EXPECT_FALSE(VelmoraQML::isInitialised());
    EXPECT_EQ(VelmoraQML::controller(), nullptr);
    EXPECT_EQ(context->contextProperty("controller").value<QObject*>(), nullptr);
    EXPECT_EQ(context->contextProperty("screen").value<QObject*>(), nullptr);
    document->clear();
    expectEmpty(*document);
}

// Every project gets a provider name of its own, so the engine's image cache, which keys
// images by address, never serves one project's image to another.
TEST_F(DocumentTest, EachOpenedProjectServesItsOwnThemeUnderItsOwnName)
{
    auto theme = TestUtil::emptyTheme("Red");
    theme->addPageBackgroundImageData(TestUtil::pngBytes(8, 8, Qt::red), Orientation_ANY);
    create(bundleOf(*theme, "red.qvt"));
    document->save(false);
    document->clear();
    theme = TestUtil::emptyTheme("Green");
    theme->addPageBackgroundImageData(TestUtil::pngBytes(8, 8, Qt::green), Orientation_ANY);
    create(bundleOf(*theme, "green.qvt"));
    document->saveAs(file("green.qvp"), false);
    document->clear();

    VelmoraDocument second;
    QStringList names;
    for (auto [d, path, colour] :
         {std::make_tuple(document.get(), file("hall.qvp"), QColor(Qt::red)),
          std::make_tuple(document.get(), file("green.qvp"), QColor(Qt::green)),
          std::make_tuple(&second, file("hall.qvp"), QColor(Qt::red))}) {
        d->load(path);
        d->preparePreview();
        names << QString("theme%1").arg(d->getSerial());
        auto* provider =
            dynamic_cast<QQuickImageProvider*>(d->engine()->imageProvider(names.back()));
        ASSERT_NE(provider, nullptr) << names.back().toStdString();
        const QString id =
            QString::number(d->getTheme()->getPageBackgroundImages().begin()->getId());
        QSize size;
        const QImage image = provider->requestPixmap(id, &size, QSize(-1, -1)).toImage();
        EXPECT_EQ(image.pixelColor(4, 4), colour) << path.toStdString();
        d->clear();
    }
    EXPECT_EQ(names.removeDuplicates(), 0) << names.join(' ').toStdString();
}

// The new theme gets the project's images by content: found by MD5, or added. Applying the
// old theme with the same records restores the project byte for byte.
TEST_F(DocumentTest, AppliedThemeRemapsImagesAndSkinsAndTheOldThemeRestoresThem)
{
    const unsigned int pageId = create(bundleOf(*TestUtil::sampleTheme(), "blue.qvt"));
    Theme* original = document->getTheme();
    const auto idOf = [](const Theme::ImageStore& store, int index) {
        return std::next(store.begin(), index)->getId();
    };
    const unsigned int background = idOf(original->getPageBackgroundImages(), 1);
    const unsigned int icon = idOf(original->getIcons(), 0);
    Page& page = document->getPage(pageId);
    page.setBackgroundImageId(background);
    page.setIconId(icon);
    const unsigned int normal = addControl(pageId, ControlType_BUTTON, "button001");
    const unsigned int pressed = addControl(pageId, ControlType_BUTTON, "button002");
    document->getControl(normal).setStartupSkin("Normal");
    document->getControl(pressed).setStartupSkin("Pressed");
    document->modControl<Button>(normal)->setImageId(idOf(original->getControlImages(), 0));
    const QByteArray before = bytesOf(*document);
    const QByteArray backgroundBytes = original->getPageBackgroundImages()[background].getData();

    // The new theme keeps the background under another id and lacks the icon and a skin.
    auto* replacement = new Theme(*original);
    while (!replacement->getPageBackgroundImages().empty())
        replacement->removePageBackgroundImage(
            replacement->getPageBackgroundImages().begin()->getId());
    for (unsigned int id = 0; id <= background; ++id)
        replacement->addPageBackgroundImageData(TestUtil::pngBytes(3, 3, QColor(id, 0, 0)), 0);
    const unsigned int moved = replacement->addPageBackgroundImageData(backgroundBytes, 0);
    replacement->removeIcon(icon);
    replacement->getSkinSet(ThemedItemType_BUTTON)->removeSkin("Pressed");
    const int serial = document->getSerial();
    document->preparePreview();

    std::map<unsigned int, VelmoraDocument::PageThemeData> pageData;
    std::map<unsigned int, VelmoraDocument::ControlThemeData> controlData;
    Theme* old = document->applyTheme(replacement, pageData, controlData);
    EXPECT_EQ(old, original);
    EXPECT_EQ(page.getBackgroundImageId(), moved);
    ASSERT_EQ(replacement->getIcons().size(), 1u);
    EXPECT_EQ(replacement->getIcons()[page.getIconId()].getMd5(),
              original->getIcons()[icon].getMd5());
    EXPECT_EQ(document->getControl(normal).getStartupSkin(), "Normal");
    EXPECT_EQ(document->getControl(pressed).getStartupSkin(), "");
    EXPECT_EQ(document->iconModel()->theme(), replacement);
    EXPECT_NE(document->getSerial(), serial);
    EXPECT_EQ(document->engine()->imageProvider(QString("theme%1").arg(serial)), nullptr);
    EXPECT_NE(document->engine()->imageProvider(QString("theme%1").arg(document->getSerial())),
              nullptr);

    EXPECT_EQ(document->applyTheme(old, pageData, controlData), replacement);
    delete replacement;
    EXPECT_EQ(bytesOf(*document), before);
}

TEST_F(DocumentTest, PageRowsFollowNamesAndPageOrderWithRenumbering)
{
    document->setThumbnailDelay(10);
    create();
    const unsigned int b = addPage("B");
    const unsigned int c = addPage("C");
    document->setPageName(document->getDefaultPageId(), "A");
    EXPECT_EQ(pageList(), QStringList({"A", "B", "C"}));
    EXPECT_FALSE(document->hasPreviousPage(document->getDefaultPageId()));
    EXPECT_TRUE(document->hasNextPage(b));
    EXPECT_FALSE(document->hasNextPage(c));

    const auto rowsMatchPages = [this] {
        for (const auto& [id, data] : document->pageGUIData())
            if (data.row.data(VelmoraDocument::SortValueRole).toInt() !=
                document->getPage(id).getSortValue())
                return false;
        return pageList() == pageOrder();
    };
    QSignalSpy layouts(document->pageModel(), &QAbstractItemModel::layoutChanged);
    document->raisePage(document->getDefaultPageId());
    document->lowerPage(c);
    EXPECT_EQ(layouts.count(), 0);

    const std::tuple<const char*, std::function<void()>, QStringList> steps[] = {
        {"raise", [&] { document->raisePage(c); }, {"A", "C", "B"}},
        {"lower", [&] { document->lowerPage(document->getDefaultPageId()); }, {"C", "A", "B"}},
        {"to end", [&] { document->movePage(c, UINT_MAX); }, {"A", "B", "C"}},
        {"rename", [&] { document->setPageName(b, "Page 9"); }, {"A", "Page 9", "C"}},
    };
    for (const auto& [name, step, expected] : steps) {
        step();
        EXPECT_EQ(pageList(), expected) << name;
        EXPECT_TRUE(rowsMatchPages()) << name;
    }
    EXPECT_EQ(document->defaultPageName(), "Page 10");

    // Halving the gap between the first two pages until none is left renumbers every page.
    for (int i = 0; i < 20; ++i) {
        const unsigned int last = document->getPages().getNextId(UINT_MAX, false, false);
        const unsigned int second = document->getPages().getNextId(
            document->getPages().getNextId(UINT_MAX, true, false), true, false);
        document->movePage(last, second);
        ASSERT_TRUE(rowsMatchPages()) << i;
    }

    // A removed page leaves the list and marks the others stale; restored, it is back.
    document->refreshThumbnails();
    smart_ptr<Page> removed = document->removePage(b);
    EXPECT_EQ(document->pageModel()->rowCount(), 2);
    for (const auto& entry : document->pageGUIData())
        EXPECT_TRUE(entry.second.stale);
    document->restorePage(removed, b);
    EXPECT_TRUE(rowsMatchPages());
    EXPECT_TRUE(document->proxyIndexOfPage(b).isValid());
    EXPECT_FALSE(document->proxyIndexOfPage(99).isValid());
}

// Marks do not push a running timer back: a burst is refreshed once, one delay after its
// first mark; a page without a row starts nothing.
TEST_F(DocumentTest, BurstOfMarksIsRefreshedOnceAfterItsFirstMark)
{
    constexpr int delay = 300;
    document->setThumbnailDelay(delay);
    const unsigned int first = create();
    const unsigned int second = addPage();
    const unsigned int control = addControl(second, ControlType_LABEL, "label001");
    document->refreshThumbnails();

    QSignalSpy refreshes(document.get(), &VelmoraDocument::loadProgressSteps);
    document->invalidatePageThumbnail(77);
    QTest::qWait(delay * 3 / 2);
    EXPECT_EQ(refreshes.count(), 0);

    QElapsedTimer clock;
    qint64 refreshedAt = -1;
    QObject::connect(document.get(), &VelmoraDocument::loadProgressSteps,
                     [&] { refreshedAt = clock.elapsed(); });
    clock.start();
    qint64 lastMark = 0;
    for (int i = 0; i < 10; ++i) {
        lastMark = clock.elapsed();
        document->invalidatePageThumbnail(first);
        document->invalidateControlThumbnail(control);
        QTest::qWait(delay / 15);
    }
    ASSERT_TRUE(refreshes.wait(delay * 10));
    EXPECT_GE(refreshedAt, delay * 9 / 10); // a coarse timer may fire 5 % early
    EXPECT_LT(refreshedAt - lastMark, delay);
    QTest::qWait(delay * 3 / 2);
    EXPECT_EQ(refreshes.count(), 1);
    for (const auto& entry : document->pageGUIData())
        EXPECT_FALSE(entry.second.stale);
}

TEST_F(DocumentTest, PageListSelectionMirrorsTheSelection)
{
    create();
    const unsigned int b = addPage("B");
    const unsigned int c = addPage("C");
    SelectionManager selection;
    document->setSelectionManager(&selection);
    const auto selectedRows = [this] {
        QList<int> rows;
        for (const QModelIndex& index : document->pageSelectionModel()->selectedIndexes())
            rows << index.row();
        std::sort(rows.begin(), rows.end());
        return rows;
    };

    selection.selectPages({b, c}, true);
    document->syncPageSelection();
    EXPECT_EQ(selectedRows(), QList<int>({1, 2}));
    selection.setCurrentPage(document->getDefaultPageId());
    selection.selectControl(5, true, true);
    document->syncPageSelection();
    EXPECT_EQ(selectedRows(), QList<int>({0}));
}

TEST_F(DocumentTest, FailedSaveOverAProjectLeavesTheOldFileAndState)
{
    create();
    document->save(false);
    const QByteArray old = TestUtil::readFile(file("hall.qvp"));
    document->getTheme()->addPageBackgroundImageData(TestUtil::imageBytes(64 * 1024, 7), 0);
    document->undoStack().push(new QUndoCommand("edit"));
    {
        FileSizeLimit full(old.size() + 1024);
        EXPECT_NE(TestUtil::runtimeErrorOf([&] { document->save(false); }), "<no error>");
    }
    EXPECT_EQ(TestUtil::readFile(file("hall.qvp")), old);
    EXPECT_FALSE(document->undoStack().isClean());

    // The path given stays after a failed save; a minimal save leaves the unused image out.
    const QString nowhere = file("missing/hall.qvp");
    EXPECT_NE(TestUtil::runtimeErrorOf([&] { document->saveAs(nowhere, false); }), "<no error>");
    EXPECT_EQ(document->path(), nowhere);
    document->saveAs(file("minimal.qvp"), true);
    EXPECT_TRUE(document->undoStack().isClean());
    EXPECT_LT(TestUtil::readFile(file("minimal.qvp")).size(), bytesOf(*document).size() - 60000);
}
