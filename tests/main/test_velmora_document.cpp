#include "appengine/page_preview_scene.h"
#include "appengine/selection_manager.h"
#include "appengine/theme_image_model.h"
#include "common/file_size_limit.h"
#include "common/helpers.h"
#include "common/isolated_app_data.h"
#include "common/memory_growth_limit.h"
#include "common/sample_themes.h"
#include "main/control_property_commands.h"
#include "main/page_property_commands.h"
#include "main/velmora_document.h"
#include "velmora_objects/button.h"
#include "velmora_objects/control_factory.h"
#include "velmora_objects/qml/qml_module.h"
#include "velmora_objects/skin_set.h"
#include "velmora_objects/streamer.h"
#include "velmora_objects/theme.h"
#include "velmora_objects/theme_file_writer.h"

#include <QDir>
#include <QGraphicsItem>
#include <QIcon>
#include <QItemSelectionModel>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWidget>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <gtest/gtest.h>
#include <unistd.h>

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

    static QByteArray bytesOf(const Configuration& project, bool minimal = false)
    {
        QByteArray bytes;
        Streamer streamer;
        streamer.open(Streamer::Mode_WRITE, &bytes);
        project.write(streamer, minimal);
        return bytes;
    }

    // The page list as shown, in the proxy's order.
    QStringList pageList() const { return TestUtil::rowTexts(document->pageModel()); }

    void expectEmpty() const
    {
        EXPECT_TRUE(document->path().isNull());
        EXPECT_EQ(document->getTheme(), nullptr);
        EXPECT_TRUE(document->getPages().empty());
        EXPECT_TRUE(document->getControls().empty());
        EXPECT_EQ(document->pageModel()->rowCount(), 0);
        EXPECT_TRUE(document->pageGUIData().empty());
        EXPECT_EQ(document->backgroundImageModel(), nullptr);
        EXPECT_EQ(document->defaultPageName(), "Page 1");
        EXPECT_FALSE(document->neverSaved());
    }

    TestUtil::IsolatedAppData appData;
    QTemporaryDir folder;
    SelectionManager selection;
    std::unique_ptr<VelmoraDocument> document = std::make_unique<VelmoraDocument>(selection);
};

} // namespace

TEST_F(DocumentTest, CreatedProjectSavesLoadsAndSavesAgainToTheSameBytes)
{
    const unsigned int first = create(bundleOf(*TestUtil::sampleTheme(), "blue.qvt"), 2);
    EXPECT_TRUE(document->neverSaved());
    EXPECT_EQ(document->getDefaultPageId(), first);
    EXPECT_EQ(document->getPage(first).getName(), "Page 1");
    EXPECT_EQ(document->getTheme()->getName(), "Blue");
    EXPECT_EQ(document->backgroundImageModel()->rowCount(), 3);
    EXPECT_EQ(document->pageModel()->index(0, 0).data(Qt::SizeHintRole), QSize(100, 120));
    addControl(addPage("Lights"), ControlType_SLIDER, "slider001");

    document->save(false);
    EXPECT_FALSE(document->neverSaved());
    EXPECT_TRUE(document->undoStack().isClean());
    VelmoraDocument reloaded(selection);
    reloaded.load(file("hall.qvp"));
    EXPECT_EQ(reloaded.getDefaultPageId(), first);
    EXPECT_EQ(reloaded.pageModel()->rowCount(), 2);
    reloaded.saveAs(file("again.qvp"), false);
    EXPECT_EQ(TestUtil::readFile(file("again.qvp")), TestUtil::readFile(file("hall.qvp")));
}

// One progress step per page and control; the names in use keep the default names of new
// pages and controls after them, counting only whole, case-exact matches of their type.
TEST_F(DocumentTest, LoadReportsItsStepsAndSetsTheNameCounters)
{
    const unsigned int page = create();
    document->setPageName(page, "Page 7");
    addPage("page 9");
    addPage("Page 30x");
    const std::pair<ControlType, const char*> controls[] = {
        {ControlType_BUTTON, "button007"}, {ControlType_BUTTON, "button012"},
        {ControlType_BUTTON, "Button50"},  {ControlType_BUTTON, "button50a"},
        {ControlType_LABEL, "button90"},   {ControlType_SLIDER, "slider3"},
        {ControlType_KEYPAD, ""},          {ControlType_BUTTON, "button4294967296"},
        {ControlType_BUTTON, "button"},
    };
    for (const auto& [type, key] : controls)
        addControl(page, type, key);
    document->save(false);
    document->clear();

    QSignalSpy steps(document.get(), &VelmoraDocument::loadProgressSteps);
    QSignalSpy changes(document.get(), &VelmoraDocument::loadProgressChanged);
    document->load(file("hall.qvp"));
    ASSERT_EQ(steps.count(), 1);
    EXPECT_EQ(steps[0][0].toInt(), 3 + 9 + 1);
    ASSERT_EQ(changes.count(), 3 + 9 + 2);
    for (int i = 0; i < changes.count(); ++i)
        EXPECT_EQ(changes[i][0].toInt(), i);

    EXPECT_EQ(document->defaultPageName(), "Page 8");
    const std::pair<ControlType, const char*> next[] = {
        {ControlType_BUTTON, "button013"},
        {ControlType_SLIDER, "slider004"},
        {ControlType_KEYPAD, "keypad001"},
        {ControlType_LABEL, "label001"},
    };
    for (const auto& [type, key] : next)
        EXPECT_EQ(document->nextControlName(type), key) << type;
}

// Neither a load that fails part of the way nor a theme bundle that cannot be read leaves
// anything for the next project to build on.
TEST_F(DocumentTest, FailedLoadOrThemeReadEmptiesTheDocumentBeforeReporting)
{
    const unsigned int first = create();
    for (int i = 0; i < 5; ++i)
        addControl(addPage(), ControlType_BUTTON, QString());
    document->save(false);
    const QByteArray good = TestUtil::readFile(file("hall.qvp"));
    ASSERT_TRUE(TestUtil::writeFile(file("cut.qvp"), good.left(good.size() * 2 / 3)));
    ASSERT_TRUE(TestUtil::writeFile(file("broken.qvt"), "not a bundle"));
    document->clear();

    const std::function<void()> failures[] = {
        [&] { document->load(file("cut.qvp")); },
        [&] { document->load(file("missing.qvp")); },
        [&] { create(file("broken.qvt")); },
    };
    std::string error;
    for (const auto& failure : failures) {
        error = TestUtil::runtimeErrorOf(failure);
        EXPECT_NE(error, "<no error>");
        expectEmpty();
    }
    // The theme's failure names the file and gives the reader's reason.
    EXPECT_EQ(error, "Unable to read theme file " + file("broken.qvt").toStdString() +
                         "\nThe theme file is not a gzip-compressed tar archive.");
    document->load(file("hall.qvp"));
    EXPECT_EQ(document->getPages().size(), 6u);
    EXPECT_EQ(document->getDefaultPageId(), first);
}

TEST_F(DocumentTest, ClearTakesDownTheItemsTheProviderAndTheModule)
{
    create(bundleOf(*TestUtil::sampleTheme(), "blue.qvt"));
    addPage();
    document->preparePreview();
    document->showPage(document->getDefaultPageId());
    const auto handles = [this] {
        int count = 0;
        for (const QGraphicsItem* item : document->previewScene()->items())
            count += item->data(0).isValid();
        return count;
    };
    EXPECT_EQ(handles(), 1);
    const QString provider = QString("theme%1").arg(document->getSerial());
    QQmlContext* context = document->engine()->rootContext();
    ASSERT_NE(document->engine()->imageProvider(provider), nullptr);
    EXPECT_EQ(VelmoraQML::context(), context);

    for (int twice = 0; twice < 2; ++twice) {
        document->clear();
        expectEmpty();
        EXPECT_EQ(handles(), 0);
        EXPECT_EQ(document->previewScene()->pageItem(0), nullptr);
        EXPECT_EQ(document->engine()->imageProvider(provider), nullptr);
        EXPECT_FALSE(VelmoraQML::isInitialised());
        EXPECT_EQ(context->contextProperty("controller").value<QObject*>(), nullptr);
        EXPECT_EQ(context->contextProperty("screen").value<QObject*>(), nullptr);
    }
}

// A document goes without a word, whether its preview ever drew or not.
TEST_F(DocumentTest, DocumentGoesQuietly)
{
    const QStringList warnings = TestUtil::warningsDuring([this] {
        document.reset();
        document = std::make_unique<VelmoraDocument>(selection);
        create();
        document.reset();
        document = std::make_unique<VelmoraDocument>(selection);
        create();
        document->preparePreview();
        document->showPage(document->getDefaultPageId());
        document->previewScene()->surface()->grabFramebuffer();
        document.reset();
    });
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
}

// Every project gets a provider name of its own, so the engine's image cache, which keys
// images by address, never serves one project's image to another.
TEST_F(DocumentTest, EachOpenedProjectShowsItsOwnThemeImages)
{
    for (const auto& [colour, name] : {std::make_pair(QColor(Qt::red), QString("red.qvp")),
                                       std::make_pair(QColor(Qt::green), QString("green.qvp"))}) {
        auto theme = TestUtil::emptyTheme(name);
        theme->addPageBackgroundImageData(TestUtil::pngBytes(8, 8, colour), Orientation_ANY);
        Page& page = document->getPage(create(bundleOf(*theme, name + ".qvt")));
        page.setBackgroundImageId(document->getTheme()->getPageBackgroundImages().begin()->getId());
        page.setBackgroundImageScaling(Scaling_STRETCH);
        document->saveAs(file(name), false);
        document->clear();
    }

    VelmoraDocument second(selection);
    QStringList names;
    for (auto [d, name, colour] : {std::make_tuple(document.get(), "red.qvp", QColor(Qt::red)),
                                   std::make_tuple(document.get(), "green.qvp", QColor(Qt::green)),
                                   std::make_tuple(&second, "red.qvp", QColor(Qt::red))}) {
        d->load(file(name));
        d->preparePreview();
        names << QString("theme%1").arg(d->getSerial());
        EXPECT_NE(d->engine()->imageProvider(names.back()), nullptr);
        d->showPage(d->getDefaultPageId());
        const QImage shown = d->previewScene()->surface()->grabFramebuffer();
        EXPECT_EQ(shown.pixelColor(240, 136), colour) << name;
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
    const unsigned int background =
        original->addPageBackgroundImageData(TestUtil::pngBytes(8, 8, Qt::magenta), 0);
    const unsigned int icon = original->getIcons().begin()->getId();
    Page& page = document->getPage(pageId);
    page.setBackgroundImageId(background);
    page.setBackgroundImageScaling(Scaling_STRETCH);
    page.setIconId(icon);
    const unsigned int normal = addControl(pageId, ControlType_BUTTON, "button001");
    const unsigned int pressed = addControl(pageId, ControlType_BUTTON, "button002");
    document->getControl(normal).setStartupSkin("Normal");
    document->getControl(pressed).setStartupSkin("Pressed");
    document->modControl<Button>(normal)->setImageId(original->getControlImages().begin()->getId());
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
    document->showPage(pageId);
    const auto shownColour = [this] {
        return document->previewScene()->surface()->grabFramebuffer().pixelColor(240, 136);
    };
    EXPECT_EQ(shownColour(), QColor(Qt::magenta));

    std::map<unsigned int, VelmoraDocument::PageThemeData> pageData;
    std::map<unsigned int, VelmoraDocument::ControlThemeData> controlData;
    Theme* old = document->applyTheme(replacement, pageData, controlData);
    EXPECT_EQ(old, original);
    EXPECT_EQ(page.getBackgroundImageId(), moved);
    EXPECT_EQ(shownColour(), QColor(Qt::magenta));
    ASSERT_EQ(replacement->getIcons().size(), 1u);
    EXPECT_EQ(replacement->getIcons()[page.getIconId()].getMd5(),
              original->getIcons()[icon].getMd5());
    EXPECT_EQ(document->getControl(normal).getStartupSkin(), "Normal");
    EXPECT_EQ(document->getControl(pressed).getStartupSkin(), "");
    EXPECT_EQ(document->iconModel()->theme(), replacement);
    EXPECT_EQ(document->engine()->imageProvider(QString("theme%1").arg(serial)), nullptr);

    EXPECT_EQ(document->applyTheme(old, pageData, controlData), replacement);
    delete replacement;
    EXPECT_EQ(bytesOf(*document), before);
}

TEST_F(DocumentTest, PageRowsFollowNamesAndPageOrderWithRenumbering)
{
    create();
    const unsigned int b = addPage("B");
    const unsigned int c = addPage("C");
    document->setPageName(document->getDefaultPageId(), "A");
    EXPECT_EQ(pageList(), QStringList({"A", "B", "C"}));

    // Every row carries its page's sort value, and the list shows page order.
    const auto rowsMatchPages = [this] {
        QStringList order;
        for (const Page& page : document->getPages()) {
            order << page.getName();
            if (document->pageGUIData().at(page.getId()).row.data(VelmoraDocument::SortValueRole) !=
                page.getSortValue())
                return false;
        }
        return pageList() == order;
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
}

// Marks do not start the timer again while it runs: a burst of edits is refreshed once, when
// the delay that its first mark started is over; a page without a row starts nothing. The delay
// is too long to end by itself, and the test ends it by setting it to 0.
TEST_F(DocumentTest, BurstOfEditsRendersEachAffectedThumbnailOnce)
{
    constexpr int never = 24 * 3600 * 1000;
    document->setThumbnailDelay(never);
    const unsigned int first = create();
    const unsigned int second = addPage();
    const unsigned int control = addControl(second, ControlType_LABEL, "label001");
    addPage();
    QSignalSpy refreshes(document.get(), &VelmoraDocument::loadProgressSteps);
    const auto refreshed = [&](int count) {
        return QTest::qWaitFor(
            [&] { return refreshes.count() == count && !document->isRefreshingThumbnails(); });
    };
    // The first thumbnails, and the timer that preparing starts, run out.
    document->preparePreview();
    ASSERT_TRUE(refreshed(1));
    document->setThumbnailDelay(0);
    ASSERT_TRUE(refreshed(2));
    // With no page shown, every page built for its thumbnail went again.
    EXPECT_TRUE(document->previewScene()->builtPages().empty());
    const auto thumbnailOf = [this](unsigned int pageId) {
        return document->pageGUIData().at(pageId).row.data(Qt::DecorationRole).value<QIcon>();
    };
    EXPECT_EQ(thumbnailOf(first).availableSizes(), QList<QSize>({QSize(120, 68)}));

    std::map<unsigned int, int> renders;
    QObject::connect(document->pageModel()->sourceModel(), &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& index, const QModelIndex&, const QList<int>& roles) {
                         if (roles.contains(Qt::DecorationRole))
                             ++renders[index.data(VelmoraDocument::PageIdRole).toUInt()];
                     });
    refreshes.clear();
    document->invalidatePageThumbnail(77);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(refreshes.count(), 0);

    document->setThumbnailDelay(never);
    for (int i = 0; i < 10; ++i) {
        const QColor colour = QColor::fromHsv(i * 20, 255, 255);
        document->getPage(first).setBackgroundColour(colour);
        document->previewScene()->setPageBackgroundColour(first, colour);
        document->invalidatePageThumbnail(first);
        document->invalidateControlThumbnail(control);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(refreshes.count(), 0);
    document->setThumbnailDelay(0);
    ASSERT_TRUE(refreshed(1));
    QCoreApplication::processEvents();
    EXPECT_EQ(refreshes.count(), 1);
    EXPECT_EQ(renders, (std::map<unsigned int, int>{{first, 1}, {second, 1}}));
    EXPECT_EQ(thumbnailOf(first).pixmap(120, 68).toImage().pixel(60, 20),
              QColor::fromHsv(180, 255, 255).rgb());
}

// Edits of a page that the preview has not built land in the project, through undo and redo,
// and the page shows them when it is built.
TEST_F(DocumentTest, EditsOfPagesNotBuiltShowWhenTheyAre)
{
    const unsigned int first = create();
    const unsigned int second = addPage();
    const unsigned int label = addControl(second, ControlType_LABEL, "label001");
    document->preparePreview();
    document->showPage(first);
    ASSERT_EQ(document->previewScene()->controlItem(label), nullptr);
    QUndoStack& undo = document->undoStack();
    undo.push(new SetControlCaptionCommand({label}, "Later", *document));
    undo.push(new MoveControlsCommand({label}, QPoint(30, 40), *document));
    undo.push(new SetControlCaptionCommand({label}, "Never", *document));
    undo.undo();
    undo.undo();
    undo.redo();
    document->showPage(second);
    QQuickItem* item = document->previewScene()->controlItem(label);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->property("caption").toString(), "Later");
    EXPECT_EQ(item->position(), QPointF(30, 40));
}

TEST_F(DocumentTest, PageListSelectionMirrorsTheSelection)
{
    create();
    const unsigned int b = addPage("B");
    const unsigned int c = addPage("C");
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

// A picture whose background change was undone stays in the theme, unused, and may take the
// project past the bound: the refusal then names the minimal save, and the pictures it leaves
// out, exactly when that save fits (the bound at its size, or a byte short of it).
TEST_F(DocumentTest, RefusalForSizeNamesTheMinimalSaveWhenItFits)
{
    create();
    const unsigned int page = document->getDefaultPageId();
    const struct
    {
        int unused;
        qint64 past;
        QString wayOut;
    } rows[] = {{1, 0, "; Save As (Minimal) leaves out the 1 picture that no page uses"},
                {1, 1, ""},
                {2, 0, "; Save As (Minimal) leaves out the 2 pictures that no page uses"}};
    const qint64 previous = Streamer::maximumFileSize();
    for (const auto& row : rows) {
        while (int(document->getTheme()->getPageBackgroundImages().size()) < row.unused) {
            const unsigned int image = document->getTheme()->addPageBackgroundImageData(
                TestUtil::imageBytes(64 * 1024, quint32(row.unused)), 0);
            document->undoStack().push(new SetPageBackgroundImageCommand({page}, image, *document));
            document->undoStack().undo();
        }
        Streamer::setMaximumFileSize(bytesOf(*document, true).size() - row.past);
        const std::string error = TestUtil::runtimeErrorOf([&] { document->save(false); });
        const std::string minimal =
            TestUtil::runtimeErrorOf([&] { document->saveAs(file("minimal.qvp"), true); });
        Streamer::setMaximumFileSize(previous);
        EXPECT_TRUE(QString::fromStdString(error).endsWith("may hold" + row.wayOut)) << error;
        EXPECT_EQ(minimal == "<no error>", !row.wayOut.isEmpty()) << minimal;
    }
}

// A project smaller than the save file's buffer reaches the disk only as the save ends; a
// device that fills up then fails the save like any other write.
TEST_F(DocumentTest, SmallProjectSavedOntoAFullDeviceFailsAndStaysModified)
{
    create();
    document->undoStack().push(new QUndoCommand("edit"));
    const QByteArray old("old project");
    ASSERT_TRUE(TestUtil::writeFile(file("hall.qvp"), old));
    const qint64 size = bytesOf(*document).size();
    ASSERT_LT(size, 16 * 1024);
    for (const rlim_t limit : {rlim_t(0), rlim_t(size / 2)}) {
        std::string error;
        {
            FileSizeLimit full(limit);
            error = TestUtil::runtimeErrorOf([&] { document->save(false); });
        }
        EXPECT_EQ(error, "Unable to write file: File too large") << limit;
        EXPECT_EQ(TestUtil::readFile(file("hall.qvp")), old);
        EXPECT_TRUE(document->neverSaved());
        EXPECT_FALSE(document->undoStack().isClean());
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"hall.qvp"});
}

// A save that runs out of memory (in a child process whose data may grow by less than the
// project's bytes take) fails as any other save does, saying why: the old file stays, nothing is
// left beside it, and the project stays open and modified.
TEST_F(DocumentTest, SaveWithoutMemoryForTheProjectFailsAndStaysModified)
{
    // The sanitizers' allocator, too, gives the failure back rather than ending the process.
    const QByteArray options = qgetenv("ASAN_OPTIONS");
    qputenv("ASAN_OPTIONS", options + ":allocator_may_return_null=1");
    const auto save = [this] {
        create();
        document->getTheme()->addPageBackgroundImageData(QByteArray(64 << 20, 'p'), 0);
        document->undoStack().push(new QUndoCommand("edit"));
        const bool limited =
            TestUtil::writeFile(file("hall.qvp"), "old") && TestUtil::limitDataGrowth(16 << 20);
        const std::string error = TestUtil::runtimeErrorOf([&] { document->save(false); });
        std::fprintf(stderr, "error: %s\n", error.c_str());
        ::_exit(!limited || TestUtil::readFile(file("hall.qvp")) != "old" ||
                QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size() != 1 ||
                document->undoStack().isClean());
    };
    EXPECT_EXIT(save(), ::testing::ExitedWithCode(0),
                "error: There is not enough memory to save the project\n");
    options.isNull() ? qunsetenv("ASAN_OPTIONS") : qputenv("ASAN_OPTIONS", options);
}

// A project naming pages and switchers it does not hold, and images its theme lacks, opened
// and shown page by page with its thumbnails (in a child process, so that a fatal assertion
// reports instead of ending the suite): no lookup is fatal, and no image makes the preview warn.
TEST_F(DocumentTest, ProjectWithDanglingReferencesOpensWithoutFatalLookups)
{
    EXPECT_EXIT(
        {
            const QStringList warnings = TestUtil::warningsDuring([&] {
                document->load(TestUtil::dataPath("bad/project/dangling_references.qvp"));
                document->preparePreview();
                for (const Page& page : document->getPages()) {
                    document->showPage(page.getId());
                    if (document->previewScene()->renderThumbnail(page.getId()).isNull())
                        ::_exit(2);
                }
            });
            // Of the page backgrounds, icons and control images (skin images are the theme's).
            const QRegularExpression named("Failed to get image.*/(icon|controlImage)?\\d+$");
            ::_exit(warnings.filter(named).isEmpty() ? 0 : 3);
        },
        ::testing::ExitedWithCode(0), "");
}
