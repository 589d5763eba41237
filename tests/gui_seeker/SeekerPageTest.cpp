// The Seeker page through its widgets: initial state, searches over real trees
// with the options of the three tabs, the grid's cells, messages, typed sorting,
// the location box's Clear, the date and time check boxes and the grid's menu.

#include <functional>

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDate>
#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextCursor>
#include <QTimeEdit>

#include "SeekerTestSupport.h"

using korvala::encodeDate;
using korvala::encodeTime;

namespace {
const QString kCompleted = QStringLiteral("Searching process completed!");
const QString kNothing =
    QStringLiteral("Searching process completed, There is no File/Folder Found with these Search Criteria!");
}  // namespace

class SeekerPageTest : public SeekerFixture {
protected:
    korvala::test::TTempTree tree;
};

TEST_F(SeekerPageTest, StartsInTheInitialState)
{
    EXPECT_EQ(page->titleStrip()->text(), QStringLiteral("SEEKER"));
    EXPECT_EQ(page->btnSeek->text(), QStringLiteral("SEARCH"));
    EXPECT_EQ(page->skrFTS->text(), QStringLiteral("*.*"));
    EXPECT_TRUE(page->skrContain->text().isEmpty());
    EXPECT_FALSE(page->chkCase->isChecked());
    EXPECT_FALSE(page->chkWhole->isChecked());
    EXPECT_FALSE(page->chkExclude->isChecked());
    // One line: the home folder (the test environment's HOME).
    EXPECT_EQ(page->skrLoc->toPlainText(), QDir::homePath());
    EXPECT_EQ(page->skrLoc->toPlainText().toStdString(), testRoot());
    EXPECT_TRUE(page->chkSub->isChecked());
    EXPECT_EQ(page->Label37->text(), QStringLiteral("Total Items : -"));
    EXPECT_EQ(page->SizeMinEdit->text(), QStringLiteral("0"));
    EXPECT_EQ(page->SizeMaxEdit->text(), QStringLiteral("0"));
    EXPECT_EQ(page->SizeMin->maximum(), 32767);
    EXPECT_EQ(page->SizeMinUnit->currentText(), QStringLiteral("KB"));
    EXPECT_EQ(page->SizeMaxUnit->currentText(), QStringLiteral("KB"));
    EXPECT_EQ(page->PageControl3->tabText(0), QStringLiteral("Name && Location"));

    const struct {
        const char* name;
        Qt::CheckState state;
    } boxes[] = {{"Archive", Qt::PartiallyChecked}, {"Readonly", Qt::PartiallyChecked},
        {"Directory", Qt::Unchecked}, {"Normal", Qt::PartiallyChecked}, {"System", Qt::Unchecked},
        {"Hidden", Qt::Unchecked}, {"Offline", Qt::PartiallyChecked}, {"Virtual", Qt::PartiallyChecked},
        {"Compressed", Qt::PartiallyChecked}, {"Encrypted", Qt::PartiallyChecked},
        {"Temporary", Qt::PartiallyChecked}, {"NotContentIndexed", Qt::PartiallyChecked},
        {"ReparsePoint", Qt::PartiallyChecked}, {"SparseFile", Qt::PartiallyChecked},
        {"Device", Qt::PartiallyChecked}};
    for (const auto& b : boxes) {
        auto* box = page->Attributes->findChild<QCheckBox*>(QString::fromLatin1(b.name));
        ASSERT_NE(box, nullptr) << b.name;
        EXPECT_TRUE(box->isTristate()) << b.name;
        EXPECT_EQ(box->checkState(), b.state) << b.name;
    }

    // Twelve pickers, disabled, showing today.
    const QDate today = QDate::currentDate();
    for (const char* name : {"CreatedBeforeDate", "CreatedAfterDate", "ModifiedBeforeDate", "ModifiedAfterDate",
             "AccessedBeforeDate", "AccessedAfterDate"}) {
        auto* picker = page->findChild<QDateEdit*>(QString::fromLatin1(name));
        ASSERT_NE(picker, nullptr) << name;
        EXPECT_FALSE(picker->isEnabled()) << name;
        EXPECT_LE(std::abs(picker->date().daysTo(today)), 1) << name;
    }
    for (const char* name : {"CreatedBeforeTime", "CreatedAfterTime", "ModifiedBeforeTime", "ModifiedAfterTime",
             "AccessedBeforeTime", "AccessedAfterTime"}) {
        auto* picker = page->findChild<QTimeEdit*>(QString::fromLatin1(name));
        ASSERT_NE(picker, nullptr) << name;
        EXPECT_FALSE(picker->isEnabled()) << name;
    }

    const QStringList headers = {QStringLiteral("Name"), QStringLiteral("Size (KB)"), QStringLiteral("Attribute"),
        QStringLiteral("Date Modified"), QStringLiteral("Location")};
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(page->nxResult->model()->headerData(c, Qt::Horizontal).toString(), headers[c]);
    EXPECT_EQ(page->nxResult->columnWidth(0), 150);
    EXPECT_EQ(page->nxResult->columnWidth(4), 320);
    EXPECT_EQ(page->nxResult->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(page->nxResult->selectionMode(), QAbstractItemView::SingleSelection);
}

TEST_F(SeekerPageTest, NameMaskSearchFillsTheGridWithTheRowCells)
{
    const std::string root = tree.root();
    const std::string sub = makeDir(root, "sub");
    const korvala::TDateTime midnight = encodeDate(2020, 12, 1);
    const korvala::TDateTime afternoon = encodeDate(2021, 1, 5) + encodeTime(13, 45, 10, 0);
    writeFile(root, "big.txt", 700, korvala::FILE_ATTRIBUTE_READONLY | korvala::FILE_ATTRIBUTE_ARCHIVE, afternoon);
    writeFile(sub, "small.txt", 400, korvala::FILE_ATTRIBUTE_ARCHIVE, midnight);
    writeFile(root, "other.log", 100);

    setLocations({root});
    page->skrFTS->setText(QStringLiteral("*.txt"));
    search();

    ASSERT_EQ(rows(), 2);
    EXPECT_EQ(rowOf(QStringLiteral("big.txt")),
        (std::vector<QString>{QStringLiteral("big.txt"), QStringLiteral("1"), QStringLiteral("_R_A_"),
            QStringLiteral("01/05/2021 13:45:10"), qs(root + "/")}));
    EXPECT_EQ(rowOf(QStringLiteral("small.txt")),
        (std::vector<QString>{QStringLiteral("small.txt"), QStringLiteral("0"), QStringLiteral("___A_"),
            QStringLiteral("12/01/2020"), qs(sub + "/")}));
    EXPECT_EQ(testDialogs().messageTexts(), QStringList{kCompleted});
    EXPECT_EQ(page->Label37->text(), QStringLiteral("Total Items : 2"));

    // Two masks; the next search replaces the rows.
    page->skrFTS->setText(QStringLiteral("*.log;big.*"));
    search();
    EXPECT_EQ(sortedNames(), (std::vector<QString>{QStringLiteral("big.txt"), QStringLiteral("other.log")}));
}

// Each case sets some controls on a fresh page and names the files found.
TEST_F(SeekerPageTest, OptionsOfTheThreeTabsChooseTheRows)
{
    const std::string root = tree.root();
    const std::string sub = makeDir(root, "sub");
    const korvala::TDateTime old = encodeDate(2019, 6, 1) + encodeTime(9, 0, 0, 0);
    const korvala::TDateTime recent = encodeDate(2024, 6, 1) + encodeTime(15, 0, 0, 0);
    writeText(root + "/hello.txt", "Say Hello World");
    writeText(root + "/lower.txt", "say hello world");
    writeText(root + "/partial.txt", "HelloWorld");
    writeFile(root, "big.bin", 3 * 1024 * 1024);
    writeFile(root, "hidden.dat", 10, korvala::FILE_ATTRIBUTE_HIDDEN);
    writeFile(root, "ro.dat", 10, korvala::FILE_ATTRIBUTE_READONLY);
    writeFile(sub, "deep.txt", 10);
    setModified(root + "/hello.txt", old);
    setModified(root + "/lower.txt", old);
    setModified(root + "/partial.txt", old);
    for (const char* name : {"/big.bin", "/hidden.dat", "/ro.dat"})
        setModified(root + name, recent);
    setModified(sub + "/deep.txt", recent);
    setModified(sub, recent);

    using Names = std::vector<QString>;
    auto names = [](std::initializer_list<const char*> list) {
        Names out;
        for (const char* n : list)
            out.push_back(QString::fromLatin1(n));
        std::sort(out.begin(), out.end());
        return out;
    };
    const QString all = QStringLiteral("*.*");
    const struct Case {
        const char* what;
        std::function<void(TSeekerPage&)> set;
        Names expected;
    } cases[] = {
        {"initial page: files of all levels, no hidden, no folders", [](TSeekerPage&) {},
            names({"hello.txt", "lower.txt", "partial.txt", "big.bin", "ro.dat", "deep.txt"})},
        {"no subfolders", [](TSeekerPage& p) { p.chkSub->setChecked(false); },
            names({"hello.txt", "lower.txt", "partial.txt", "big.bin", "ro.dat"})},
        {"containing text, any case", [](TSeekerPage& p) { p.skrContain->setText(QStringLiteral("hello world")); },
            names({"hello.txt", "lower.txt"})},
        {"case sensitive",
            [](TSeekerPage& p) {
                p.skrContain->setText(QStringLiteral("Hello"));
                p.chkCase->setChecked(true);
            },
            names({"hello.txt", "partial.txt"})},
        {"whole word",
            [](TSeekerPage& p) {
                p.skrContain->setText(QStringLiteral("hello"));
                p.chkWhole->setChecked(true);
            },
            names({"hello.txt", "lower.txt"})},
        {"exclude",
            [](TSeekerPage& p) {
                p.skrFTS->setText(QStringLiteral("*.txt"));
                p.skrContain->setText(QStringLiteral("world"));
                p.chkExclude->setChecked(true);
            },
            names({"deep.txt"})},
        {"hidden checked: only hidden", [](TSeekerPage& p) { p.Hidden->setCheckState(Qt::Checked); },
            names({"hidden.dat"})},
        {"readonly checked", [](TSeekerPage& p) { p.Readonly->setCheckState(Qt::Checked); }, names({"ro.dat"})},
        {"directory grayed lists the folder too",
            [](TSeekerPage& p) {
                p.Directory->setCheckState(Qt::PartiallyChecked);
                p.chkSub->setChecked(false);
            },
            names({"hello.txt", "lower.txt", "partial.txt", "big.bin", "ro.dat", "sub"})},
        {"at least 1 MB",
            [](TSeekerPage& p) {
                p.SizeMin->setValue(1);
                p.SizeMinUnit->setCurrentIndex(2);
            },
            names({"big.bin"})},
        {"at most 1 KB",
            [](TSeekerPage& p) {
                p.SizeMax->setValue(1);
                p.SizeMaxUnit->setCurrentIndex(1);
            },
            names({"hello.txt", "lower.txt", "partial.txt", "ro.dat", "deep.txt"})},
        {"modified before a date",
            [](TSeekerPage& p) {
                p.MBD->setChecked(true);
                p.ModifiedBeforeDate->setDate(QDate(2020, 1, 1));
            },
            names({"hello.txt", "lower.txt", "partial.txt"})},
        {"modified after a date",
            [](TSeekerPage& p) {
                p.MAD->setChecked(true);
                p.ModifiedAfterDate->setDate(QDate(2024, 6, 1));
            },
            names({"big.bin", "ro.dat", "deep.txt"})},
        {"modified before noon on any day (time only)",
            [](TSeekerPage& p) {
                p.MBT->setChecked(true);
                p.ModifiedBeforeTime->setTime(QTime(12, 0, 0));
            },
            names({"hello.txt", "lower.txt", "partial.txt"})},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // A fresh window for each case, so that the page starts as shipped.
        TearDown();
        SetUp();
        ASSERT_NE(page, nullptr);
        setLocations({root});
        page->skrFTS->setText(all);
        c.set(*page);
        search();
        EXPECT_EQ(sortedNames(), c.expected);
        EXPECT_EQ(testDialogs().messageTexts(), QStringList{kCompleted});
    }
}

TEST_F(SeekerPageTest, FoldersShowFolderAndTheDirectoryLetter)
{
    const std::string root = tree.root();
    makeDir(root, "inner");
    page->Directory->setCheckState(Qt::Checked);
    setLocations({root});
    search();
    ASSERT_EQ(rows(), 1);
    const std::vector<QString> cells = rowOf(QStringLiteral("inner"));
    ASSERT_EQ(cells.size(), 5u);
    EXPECT_EQ(cells[1], QStringLiteral("Folder"));
    EXPECT_TRUE(cells[2].endsWith(QLatin1Char('D'))) << cells[2].toStdString();
}

TEST_F(SeekerPageTest, NothingFoundAndUnusableLocationLines)
{
    const std::string root = tree.root();
    const std::string file = writeFile(root, "a.txt", 10);
    writeFile(root, "b.txt", 10);

    // A file and a missing folder are skipped without a message; no line
    // remains, so the search ends at once with nothing found.
    setLocations({file, root + "/missing", ""});
    search();
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(testDialogs().messageTexts(), QStringList{kNothing});
    EXPECT_EQ(page->Label37->text(), QStringLiteral("Total Items : 0"));

    // A mask without wildcards matches only the name equal to it.
    testDialogs().reset();
    setLocations({file, root});
    page->skrFTS->setText(QStringLiteral("a"));
    search();
    EXPECT_EQ(testDialogs().messageTexts(), QStringList{kNothing});
    page->skrFTS->setText(QStringLiteral("a.txt"));
    search();
    EXPECT_EQ(columnTexts(0), std::vector<QString>{QStringLiteral("a.txt")});
    EXPECT_EQ(testDialogs().messageTexts(), (QStringList{kNothing, kCompleted}));
}

TEST_F(SeekerPageTest, HeaderClicksSortByTheColumnsKind)
{
    const std::string root = tree.root();
    // Sizes 9 KB and 10 KB (text order would put "10" first); dates whose text
    // order differs from their time order; names differing in case.
    writeFile(root, "b.dat", 9 * 1024, 0, encodeDate(2021, 1, 5));
    writeFile(root, "C.dat", 10 * 1024, 0, encodeDate(2020, 12, 1));
    writeFile(root, "a.dat", 2 * 1024, 0, encodeDate(2021, 11, 30) + encodeTime(8, 0, 0, 0));
    setLocations({root});
    search();
    ASSERT_EQ(rows(), 3);

    auto names = [this] { return columnTexts(0); };
    using V = std::vector<QString>;
    clickHeader(1);
    EXPECT_EQ(columnTexts(1), (V{QStringLiteral("2"), QStringLiteral("9"), QStringLiteral("10")}));
    clickHeader(1);
    EXPECT_EQ(columnTexts(1), (V{QStringLiteral("10"), QStringLiteral("9"), QStringLiteral("2")}));
    EXPECT_EQ(page->nxResult->horizontalHeader()->sortIndicatorSection(), 1);
    EXPECT_EQ(page->nxResult->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    clickHeader(3);
    EXPECT_EQ(names(), (V{QStringLiteral("C.dat"), QStringLiteral("b.dat"), QStringLiteral("a.dat")}));
    clickHeader(0);
    EXPECT_EQ(names(), (V{QStringLiteral("a.dat"), QStringLiteral("b.dat"), QStringLiteral("C.dat")}));
    clickHeader(0);
    EXPECT_EQ(names(), (V{QStringLiteral("C.dat"), QStringLiteral("b.dat"), QStringLiteral("a.dat")}));
    // Only the completion message: no sort warning after the search.
    EXPECT_EQ(testDialogs().messageTexts(), QStringList{QStringLiteral("Searching process completed!")});
}

TEST_F(SeekerPageTest, ClearEmptiesTheLocationsAndCheckBoxesSwitchTheirPickers)
{
    setLocations({"/tmp", "/usr"});
    click(page->Button41);
    EXPECT_TRUE(page->skrLoc->toPlainText().isEmpty());

    page->PageControl3->setCurrentWidget(page->TabSheet2);
    const struct {
        QCheckBox* box;
        QWidget* picker;
        QWidget* sheet;
    } pairs[] = {{page->CBD, page->CreatedBeforeDate, page->TabSheet4}, {page->CAT, page->CreatedAfterTime, page->TabSheet4},
        {page->MBT, page->ModifiedBeforeTime, page->TabSheet5}, {page->MAD, page->ModifiedAfterDate, page->TabSheet5},
        {page->ABD, page->AccessedBeforeDate, page->TabSheet6}, {page->AAT, page->AccessedAfterTime, page->TabSheet6}};
    for (const auto& p : pairs) {
        page->PageControl4->setCurrentWidget(p.sheet);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        EXPECT_FALSE(p.picker->isEnabled());
        click(p.box);
        EXPECT_TRUE(p.box->isChecked()) << p.box->objectName().toStdString();
        EXPECT_TRUE(p.picker->isEnabled()) << p.picker->objectName().toStdString();
        click(p.box);
        EXPECT_FALSE(p.picker->isEnabled()) << p.picker->objectName().toStdString();
    }
}

TEST_F(SeekerPageTest, OpenAndOpenFileLocationOfTheSelectedRow)
{
    const std::string root = tree.root();
    writeFile(root, "only.txt", 10);
    setLocations({root});
    search();
    ASSERT_EQ(rows(), 1);

    QMenu* shown = nullptr;
    window->showMenu = [&](QMenu& menu, const QPoint&) { shown = &menu; };
    auto openMenuAt = [&](const QPoint& pos) {
        shown = nullptr;
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, page->nxResult->viewport()->mapToGlobal(pos));
        QCoreApplication::sendEvent(page->nxResult->viewport(), &event);
        return shown;
    };
    auto actionNamed = [](QMenu* menu, const char* name) -> QAction* {
        for (QAction* a : menu->actions())
            if (a->objectName() == QLatin1String(name))
                return a;
        return nullptr;
    };

    // Nothing selected: both items do nothing.
    QMenu* menu = openMenuAt(QPoint(5, 5));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->objectName(), QStringLiteral("skrPOP"));
    ASSERT_NE(actionNamed(menu, "O1"), nullptr);
    EXPECT_EQ(actionNamed(menu, "O1")->text(), QStringLiteral("Open"));
    EXPECT_EQ(actionNamed(menu, "O2")->text(), QStringLiteral("Open File Location"));
    actionNamed(menu, "O1")->trigger();
    actionNamed(menu, "O2")->trigger();
    EXPECT_TRUE(testShell().calls.empty());

    const QRect cell = page->nxResult->visualRect(page->nxResult->model()->index(0, 0));
    QTest::mouseClick(page->nxResult->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    menu = openMenuAt(cell.center());
    ASSERT_NE(menu, nullptr);
    actionNamed(menu, "O1")->trigger();
    actionNamed(menu, "O2")->trigger();
    ASSERT_EQ(testShell().calls.size(), 2u);
    EXPECT_EQ(testShell().calls[0].kind, "open");
    EXPECT_EQ(testShell().calls[0].path, root + "/only.txt");
    EXPECT_EQ(testShell().calls[1].kind, "showItem");
    EXPECT_EQ(testShell().calls[1].path, root + "/only.txt");
}

TEST_F(SeekerPageTest, EnterSearchesButMakesANewLineInTheLocationBox)
{
    const std::string root = tree.root();
    writeFile(root, "one.txt", 10);
    setLocations({root});

    // Enter in the location box is a new line there, not a search.
    page->skrLoc->setFocus();
    page->skrLoc->moveCursor(QTextCursor::End);
    QTest::keyClick(page->skrLoc, Qt::Key_Return);
    EXPECT_EQ(page->skrLoc->toPlainText(), qs(root + "\n"));
    QTest::qWait(50);
    EXPECT_EQ(page->btnSeek->text(), QStringLiteral("SEARCH"));
    EXPECT_TRUE(testDialogs().messageTexts().isEmpty());

    // Enter in the name box presses SEARCH, the default button; the empty
    // line is skipped.
    page->skrFTS->setFocus();
    QTest::keyClick(page->skrFTS, Qt::Key_Return);
    waitIdle();
    EXPECT_EQ(columnTexts(0), std::vector<QString>{QStringLiteral("one.txt")});
    EXPECT_EQ(testDialogs().messageTexts(), QStringList{QStringLiteral("Searching process completed!")});
}
