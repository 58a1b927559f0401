#include "appengine/layout_library.h"
#include "appengine/layout_library_delegates.h"

#include "common/helpers.h"
#include "velmora_objects/velmora_types.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDir>
#include <QListView>
#include <QSemaphore>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QThreadPool>
#include <QUrl>
#include <gtest/gtest.h>
#include <set>

using TestUtil::readFile;
using TestUtil::writeFile;

namespace {

QByteArray layoutXml(const QString& name, const QString& orientation)
{
    return QStringLiteral("<?xml version=\"1.0\"?>\n"
                          "<layout name=\"%1\" orientation=\"%2\">\n"
                          "<hbox margin=\"20\"><button/><slider width=\"100px\"/></hbox>\n"
                          "</layout>\n")
        .arg(name, orientation)
        .toUtf8();
}

// A system folder holding the shipped schema and a user folder (not made yet), both in a
// temporary folder.
class LayoutFolders
{
public:
    LayoutFolders()
        : system(root.path() + "/system"), user(root.path() + "/documents/Velmora/Layouts")
    {
        QDir().mkpath(system);
        writeFile(system + "/layout.xsd", readFile(TestUtil::bundledPath("layout/layout.xsd")));
    }

    QTemporaryDir root;
    QString system;
    QString user;
};

// Keeps every thread of the global pool busy while it lives, so that a load started meanwhile
// waits in the pool's queue.
struct PoolHold
{
    PoolHold()
    {
        pool->setMaxThreadCount(1);
        pool->start([this] { gate.acquire(); });
    }
    ~PoolHold()
    {
        gate.release();
        pool->setMaxThreadCount(threads);
    }

    QThreadPool* pool = QThreadPool::globalInstance();
    int threads = pool->maxThreadCount();
    QSemaphore gate;
};

// The items of the model drawn by the delegate in a list view.
QImage drawn(QListView& view, QAbstractItemModel* model, QAbstractItemDelegate* delegate)
{
    view.setModel(model);
    view.setItemDelegate(delegate);
    view.setFrameShape(QFrame::NoFrame);
    view.resize(500, 300);
    view.show();
    return view.grab().toImage();
}

int darkPixels(const QImage& image, const QRect& area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += qGray(image.pixel(x, y)) < 200;
    return count;
}

} // namespace

TEST(LayoutLibrary, LoadsInBackgroundAndSwapsRowsInOnItsOwnThread)
{
    LayoutFolders folders;
    LayoutLibrary library(folders.system, folders.user);
    ASSERT_TRUE(QDir(folders.user).exists());
    QAbstractItemModelTester tester(&library,
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    const QString invalid = folders.system + "/broken.xml";
    writeFile(invalid,
              "<layout name=\"Broken\">\n<vbox margin=\"wide\">\n  <wheel/></vbox>\n</layout>\n");
    QByteArray attributes;
    for (int i = 0; i < 100000; ++i)
        attributes += " a" + QByteArray::number(i) + "=\"\"";
    const QString hostile = folders.system + "/hostile.xml";
    writeFile(hostile, "<layout name=\"Hostile\"\n" + attributes + "><vbox/></layout>");
    writeFile(folders.system + "/alpha.xml", layoutXml("Alpha", "landscape"));
    writeFile(folders.system + "/notes.txt", layoutXml("Text", "any"));
    writeFile(folders.user + "/alpha.xml", layoutXml("Alpha", "portrait"));
    writeFile(folders.user + "/beta.xml", layoutXml("Beta", "portrait"));
    writeFile(folders.user + "/GAMMA.XML", layoutXml("Gamma", "any"));
    writeFile(folders.user + "/.hidden.xml", layoutXml("Hidden", "any"));

    QStringList announced; // and whether any announcement came from another thread
    bool offThread = false;
    const auto note = [&](const QString& what) {
        offThread |= QThread::currentThread() != library.thread();
        announced << what;
    };
    QObject::connect(&library, &QAbstractItemModel::modelAboutToBeReset, [&] { note("reset"); });
    QObject::connect(&library, &QAbstractItemModel::rowsInserted,
                     [&](const QModelIndex&, int first, int last) {
                         note(QString("%1-%2 %3")
                                  .arg(first)
                                  .arg(last)
                                  .arg(library.index(first, 0).data().toString()));
                     });
    QSignalSpy finished(&library, &LayoutLibrary::refreshFinished);
    {
        PoolHold hold;
        library.refresh();
        EXPECT_TRUE(library.isRefreshing());
        EXPECT_EQ(library.rowCount(), 0);
        EXPECT_TRUE(announced.isEmpty());
    }
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_FALSE(library.isRefreshing());
    EXPECT_FALSE(offThread);

    // The blank row, the built-in template, then the user's in the file system's order; the
    // user's "Alpha" loses to the built-in one.
    const QStringList listed = TestUtil::rowTexts(&library);
    ASSERT_EQ(listed.size(), 4);
    EXPECT_EQ(listed.mid(0, 2), QStringList({"", "Alpha"}));
    EXPECT_EQ(std::set<QString>(listed.begin() + 2, listed.end()),
              std::set<QString>({"Beta", "Gamma"}));
    QStringList expected{"reset"};
    for (int row = 1; row < 4; ++row)
        expected << QString("%1-%1 %2").arg(row).arg(listed[row]);
    EXPECT_EQ(announced, expected);

    const struct
    {
        const char* name;
        int orientation;
    } cases[] = {{"", 0}, {"Alpha", 1}, {"Beta", 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QModelIndex index = library.indexOf(c.name);
        EXPECT_EQ(index.data().toString(), c.name);
        const QVariant orientation = index.data(LayoutLibrary::OrientationRole);
        EXPECT_EQ(orientation.metaType(), QMetaType::fromType<Velmora::Orientation>());
        EXPECT_EQ(orientation.toInt(), c.orientation);
        // The trees were handed over to the library's thread.
        const QLayout* layout = library.find(c.name).getLayout();
        EXPECT_EQ(layout ? layout->thread() : library.thread(), library.thread());
        EXPECT_EQ(layout == nullptr, index.row() == 0);
    }
    EXPECT_FALSE(library.indexOf("Missing").isValid());
    EXPECT_EQ(TestUtil::runtimeErrorOf([&] { library.find("Missing"); }), "Layout not found");

    // A row per message of the schema, and the shape's refusal of a file before any parser.
    const struct
    {
        QString file;
        const char* part;
        qint64 line;
    } messages[] = {{invalid, "margin", 2},
                    {invalid, "wheel", 3},
                    {hostile, "An element has more than 64 attributes", 1}};
    const QStringList rows = TestUtil::rowTexts(library.errorModel());
    ASSERT_EQ(rows.size(), 3) << rows.join(" | ").toStdString();
    for (const auto& m : messages) {
        const int row =
            int(std::find_if(rows.begin(), rows.end(),
                             [&m](const QString& text) { return text.contains(m.part); }) -
                rows.begin());
        ASSERT_LT(row, 3) << m.part;
        const QModelIndex error = library.errorModel()->index(row, 0);
        EXPECT_EQ(error.data(LayoutLibrary::DocumentRole).toUrl(), QUrl::fromLocalFile(m.file));
        EXPECT_EQ(error.data(LayoutLibrary::LineRole), QVariant(m.line)) << m.part;
        EXPECT_GT(error.data(LayoutLibrary::ColumnRole).toLongLong(), 0);
    }

    // Refreshes asked for during a load give one more load after it; messages stay.
    QSignalSpy started(&library, &LayoutLibrary::refreshStarted);
    {
        PoolHold hold;
        for (int i = 0; i < 3; ++i)
            library.refresh();
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return !library.isRefreshing(); }, 10000));
    EXPECT_EQ(started.count(), 2);
    EXPECT_EQ(finished.count(), 3);
    EXPECT_EQ(TestUtil::rowTexts(&library), listed);
    EXPECT_EQ(library.errorModel()->rowCount(), 9);
}

TEST(LayoutLibrary, InstanceAndSchemaAreRequired)
{
    EXPECT_DEATH(LayoutLibrary::instance(), "Assert: 'instance' is FALSE");
    LayoutFolders folders;
    QFile::remove(folders.system + "/layout.xsd");
    EXPECT_DEATH(LayoutLibrary(folders.system, QString()).refresh(),
                 "Assert: 'layoutSchema.isValid\\(\\)' is FALSE");

    // Deleting the library during a load waits for it.
    LayoutLibrary::init(TestUtil::bundledPath("layout"), QString());
    EXPECT_TRUE(LayoutLibrary::instance()->isRefreshing());
    LayoutLibrary::destroyInstance();
}

// The wizard's thumbnails in both orientations: the blank row as a white page edged in black, a
// template with its controls in grey, each above its whole name; and an error row with the
// place of the fault at its right end and the message below.
TEST(LayoutLibrary, CellsAreDrawn)
{
    LayoutFolders folders;
    writeFile(folders.system + "/media.xml", layoutXml("Media Player", "any"));
    LayoutLibrary library(folders.system, QString());
    QSignalSpy finished(&library, &LayoutLibrary::refreshFinished);
    library.refresh();
    ASSERT_TRUE(finished.wait(10000));

    const QFontMetrics metrics(QApplication::font());
    for (int orientation : {1, 2}) {
        SCOPED_TRACE(orientation);
        LayoutViewDelegate delegate;
        delegate.setOrientation(orientation);
        const QSize thumbnail = orientation == 2 ? QSize(68, 120) : QSize(120, 68);
        EXPECT_EQ(delegate.cellSize(), QSize(128, thumbnail.height() + metrics.height() + 8));
        QListView view;
        view.setViewMode(QListView::IconMode);
        view.setGridSize(delegate.cellSize());
        const QImage image = drawn(view, &library, &delegate);
        for (int row = 0; row < 2; ++row) {
            const QRect cell = view.visualRect(library.index(row, 0));
            const QRect page(cell.left() + (cell.width() - thumbnail.width()) / 2, cell.top() + 4,
                             thumbnail.width(), thumbnail.height());
            const QRect inside = page.adjusted(1, 1, -1, -1);
            EXPECT_EQ(image.pixel(page.bottomRight()), row ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
            EXPECT_EQ(darkPixels(image, inside) > inside.width() * inside.height() / 8, row == 1);
            const QRect label(cell.left(), page.bottom() + 1, cell.width(), metrics.height());
            EXPECT_GT(darkPixels(image, label), 10);
            // Not cut short: the ink spans the name's whole width.
            const QRect ink =
                TestUtil::changedArea(image, QImage(), label, image.pixel(label.topLeft()));
            EXPECT_GE(ink.width() + 2, metrics.horizontalAdvance(row ? "Media Player" : "Blank"));
        }
    }

    QStandardItemModel errors;
    auto item = new QStandardItem("Element 'wheel': This element is not expected.");
    item->setData(QUrl::fromLocalFile("/layouts/broken.xml"), LayoutLibrary::DocumentRole);
    item->setData(qint64(12), LayoutLibrary::LineRole);
    item->setData(qint64(34), LayoutLibrary::ColumnRole);
    errors.appendRow(item);
    LayoutErrorDelegate delegate;
    QListView view;
    const QImage image = drawn(view, &errors, &delegate);
    const QRect row = view.visualRect(errors.index(0, 0));
    const int positionWidth = metrics.horizontalAdvance("[Line: 12 Column: 34]");
    const int lineHeight = metrics.height();
    const QRect place(row.right() - positionWidth + 1, row.top(), positionWidth, lineHeight);
    EXPECT_GT(darkPixels(image, place), 20);
    EXPECT_GT(darkPixels(image, QRect(0, row.top() + lineHeight, row.width(), lineHeight)), 20);
}
