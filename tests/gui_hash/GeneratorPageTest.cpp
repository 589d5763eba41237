// The Hash Generator sub-page: its controls at start, the report of real
// files, the tick buttons, the case option, aborting, a list shortened during
// a run, unreadable files and the clipboard copy.

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabWidget>
#include <QTextCursor>

#include "HashPageFixture.h"
#include "app/ItemList.h"
#include "tools/hash/HashReport.h"

namespace {

// prefix + number + suffix, built by appending (GCC 12 warns falsely about
// "literal" + std::string temporaries).
std::string numberedName(const char* prefix, int number, const char* suffix = "")
{
    std::string name = prefix;
    name += std::to_string(number);
    name += suffix;
    return name;
}

using namespace korvala;

// Published digests of the three bytes "abc" and of no bytes at all.
const QString kAbcCrc = QStringLiteral("352441C2");
const QString kAbcMd5 = QStringLiteral("900150983CD24FB0D6963F7D28E17F72");
const QString kAbcSha1 = QStringLiteral("A9993E364706816ABA3E25717850C26C9CD0D89D");
const QString kEmptyCrc = QStringLiteral("00000000");
const QString kEmptyMd5 = QStringLiteral("D41D8CD98F00B204E9800998ECF8427E");
const QString kEmptySha1 = QStringLiteral("DA39A3EE5E6B4B0D3255BFEF95601890AFD80709");

class GeneratorPageTest : public HashPageFixture {
protected:
    std::vector<bool> ticks() const
    {
        std::vector<bool> result;
        for (int k = 0; k < page->generator->chkHash->count(); ++k)
            result.push_back(page->generator->chkHash->item(k)->checkState() == Qt::Checked);
        return result;
    }

    TBackgroundWorker* worker() const { return window->worker("trdHash"); }

    // Clicks GENERATE HASH and waits for the run and its completion.
    void generate()
    {
        click(page->generator->btnGHash);
        EXPECT_TRUE(worker()->IsWorking());
        EXPECT_EQ(page->generator->btnGHash->text(), QStringLiteral("ABORT"));
        worker()->WaitFor();
        EXPECT_EQ(page->generator->btnGHash->text(), QStringLiteral("GENERATE HASH"));
    }

    QStringList reportLines() const { return page->generator->mHash->toPlainText().split(QLatin1Char('\n')); }
};

TEST_F(GeneratorPageTest, ControlsStartAsDescribed)
{
    EXPECT_EQ(find<QLabel>("Label83")->text(), QStringLiteral("HASH"));
    auto* tabs = find<QTabWidget>("PageControl5");
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Hash Generator"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("Verify Checksum"));
    EXPECT_EQ(tabs->tabText(2), QStringLiteral("Compare Files"));
    EXPECT_EQ(tabs->currentWidget(), find<QWidget>("shtHGen"));

    const std::vector<std::pair<const char*, QString>> texts = {
        {"Label26", QStringLiteral("File List :")},
        {"Label27", QStringLiteral("Total Items : -")},
        {"Button20", QStringLiteral("Add File(s)")},
        {"Button19", QStringLiteral("Remove")},
        {"Button18", QStringLiteral("Remove All")},
        {"Label28", QStringLiteral("Note : File with BIG size will take longer time to be Generated")},
        {"Button21", QStringLiteral("Check All")},
        {"Button22", QStringLiteral("Uncheck All")},
        {"btnGHash", QStringLiteral("GENERATE HASH")},
        {"Button17", QStringLiteral("Copy to Clipboard")},
    };
    for (const auto& [name, text] : texts) {
        QWidget* w = find(name);
        ASSERT_NE(w, nullptr);
        if (auto* label = qobject_cast<QLabel*>(w))
            EXPECT_EQ(label->text(), text) << name;
        else
            EXPECT_EQ(qobject_cast<QAbstractButton*>(w)->text(), text) << name;
    }
    // "Invert" and "Check" on two lines.
    EXPECT_EQ(find<QPushButton>("Button23")->text(), QStringLiteral("Invert\nCheck"));
    // The list's caption and counter are bold.
    EXPECT_TRUE(find<QLabel>("Label26")->font().bold());
    EXPECT_TRUE(find<QLabel>("Label27")->font().bold());
    EXPECT_EQ(find<QGroupBox>("GroupBox8")->title(), QStringLiteral(" Hash Algorithm "));
    EXPECT_EQ(find<QGroupBox>("GroupBox9")->title(), QStringLiteral(" Generated Hash "));
    EXPECT_EQ(find<QCheckBox>("chkLCase")->text(), QStringLiteral("Lowercase"));
    EXPECT_FALSE(page->generator->chkLCase->isChecked());
    EXPECT_TRUE(page->generator->btnGHash->isDefault());

    // The twelve algorithms in list order; CRC32, MD5 and SHA-1 ticked.
    auto* list = find<QListWidget>("chkHash");
    ASSERT_EQ(list->count(), 12);
    for (int k = 0; k < 12; ++k)
        EXPECT_EQ(list->item(k)->text().toStdString(), HashAlgorithmNames[static_cast<size_t>(k)]);
    EXPECT_EQ(ticks(), (std::vector<bool>{true, false, true, false, false, true, false, false, false, false,
                           false, false}));

    auto* memo = find<QPlainTextEdit>("mHash");
    EXPECT_TRUE(memo->toPlainText().isEmpty());
    EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_TRUE(QFontInfo(memo->font()).fixedPitch());
    EXPECT_NE(find<QProgressBar>("pbHash"), nullptr);
}

TEST_F(GeneratorPageTest, ReportOfTwoFilesWithTheStartTicks)
{
    const std::string abc = writeFile("abc.bin", "abc");
    const std::string empty = writeFile("empty.bin", "");
    addFiles({abc, empty});
    ASSERT_EQ(page->generator->HList->count(), 2);
    EXPECT_EQ(page->generator->Label27->text(), QStringLiteral("Total Items : 2"));

    generate();
    const QStringList expected = {
        QStringLiteral("Filename   : ") + qs(abc),
        QStringLiteral("CRC32      : ") + kAbcCrc,
        QStringLiteral("MD5        : ") + kAbcMd5,
        QStringLiteral("SHA-1      : ") + kAbcSha1,
        QString(),
        QStringLiteral("Filename   : ") + qs(empty),
        QStringLiteral("CRC32      : ") + kEmptyCrc,
        QStringLiteral("MD5        : ") + kEmptyMd5,
        QStringLiteral("SHA-1      : ") + kEmptySha1,
        QString(),
    };
    EXPECT_EQ(reportLines(), expected);
    EXPECT_EQ(messages(), QStringList{QStringLiteral("Hash Generating process completed!")});
    EXPECT_FALSE(worker()->Cancelled());
    EXPECT_EQ(page->generator->pbHash->maximum(), 2);
    EXPECT_EQ(page->generator->pbHash->value(), 2);

    // A second run replaces the report instead of adding to it.
    generate();
    EXPECT_EQ(reportLines(), expected);
}

TEST_F(GeneratorPageTest, AllTicksInLowercaseKeepTheLabelsAndPathInTheirCase)
{
    const std::string file = writeFile("MiXeD Case.BIN", std::string(5000, 'x') + "tail");
    addFiles({file});
    click(page->generator->Button21);
    click(page->generator->chkLCase);
    ASSERT_TRUE(page->generator->chkLCase->isChecked());

    generate();
    const QStringList lines = reportLines();
    ASSERT_EQ(lines.size(), 14);
    EXPECT_EQ(lines[0], QStringLiteral("Filename   : ") + qs(file));
    for (int k = 0; k < HashAlgorithmCount; ++k) {
        const QString& line = lines[k + 1];
        const std::string expected = asciiLowercase(HashFileByAlgorithm(static_cast<HashAlgorithm>(k), file));
        EXPECT_EQ(line.left(13).toStdString(), HashReportLabels[static_cast<size_t>(k)]) << k;
        EXPECT_EQ(line.indexOf(QLatin1Char(':')), 11) << line.toStdString();
        EXPECT_EQ(line.mid(13).toStdString(), expected) << line.toStdString();
        EXPECT_EQ(line.mid(13).size(), HashDigitCounts[static_cast<size_t>(k)]);
    }
    EXPECT_TRUE(lines[13].isEmpty());
}

// The ticks and the case option are read when a file's turn comes, so a
// change during a run applies to the files that follow.
TEST_F(GeneratorPageTest, ChoicesChangedDuringARunApplyToTheFilesThatFollow)
{
    const std::string first = writeFile("first.bin", "abc");
    const std::string second = writeFile("second.bin", "abc");
    addFiles({first, second});
    QObject::connect(page->generator, &THashGeneratorPage::hashEntryRequested, page, [this](int position) {
        if (position == 1) {
            click(page->generator->Button21);
            click(page->generator->chkLCase);
        }
    });
    generate();
    const QStringList lines = reportLines();
    ASSERT_EQ(lines.size(), 5 + 14);
    EXPECT_EQ(lines[3], QStringLiteral("SHA-1      : ") + kAbcSha1);
    EXPECT_EQ(lines[5], QStringLiteral("Filename   : ") + qs(second));
    EXPECT_EQ(lines[6], QStringLiteral("CRC32      : ") + kAbcCrc.toLower());
    EXPECT_EQ(lines[7].toStdString(), "MD4        : " + asciiLowercase(HashFileByAlgorithm(HashAlgorithm::haMD4, second)));
    EXPECT_EQ(lines[17].toStdString(),
        "Tiger-192  : " + asciiLowercase(HashFileByAlgorithm(HashAlgorithm::haTiger192, second)));
}

TEST_F(GeneratorPageTest, TickButtonsAndTheMissingTickMessage)
{
    const std::vector<bool> start = ticks();
    click(page->generator->Button23);
    for (int k = 0; k < 12; ++k)
        EXPECT_EQ(ticks()[static_cast<size_t>(k)], !start[static_cast<size_t>(k)]) << k;
    click(page->generator->Button21);
    EXPECT_EQ(ticks(), std::vector<bool>(12, true));
    click(page->generator->Button22);
    EXPECT_EQ(ticks(), std::vector<bool>(12, false));

    // Empty list and no ticks: nothing at all, the empty list comes first.
    click(page->generator->btnGHash);
    EXPECT_FALSE(worker()->IsWorking());
    EXPECT_TRUE(messages().isEmpty());

    addFiles({writeFile("a.bin", "a")});
    click(page->generator->btnGHash);
    EXPECT_FALSE(worker()->IsWorking());
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].text, QStringLiteral("You must check Min. 1 Hash Algorithm!"));
    EXPECT_EQ(dialogs_.messages[0].icon, Dialogs::Icon::Information);
    EXPECT_EQ(page->generator->btnGHash->text(), QStringLiteral("GENERATE HASH"));

    click(page->generator->Button23);
    EXPECT_EQ(ticks(), std::vector<bool>(12, true));
}

// Abort seen during the third of five files: two whole blocks, then the third
// file's name and the digest line after which the request was polled.
TEST_F(GeneratorPageTest, AbortDuringTheThirdFileKeepsWhatWasWritten)
{
    std::vector<std::string> files;
    for (int i = 0; i < 5; ++i)
        files.push_back(writeFile(numberedName("f", i, ".bin"), "abc"));
    addFiles(files);
    QObject::connect(page->generator, &THashGeneratorPage::hashEntryRequested, page, [this](int position) {
        if (position == 2)
            click(page->generator->btnGHash);
    });

    generate();
    QStringList expected;
    for (int i = 0; i < 2; ++i)
        expected << QStringLiteral("Filename   : ") + qs(files[static_cast<size_t>(i)])
                 << QStringLiteral("CRC32      : ") + kAbcCrc << QStringLiteral("MD5        : ") + kAbcMd5
                 << QStringLiteral("SHA-1      : ") + kAbcSha1 << QString();
    expected << QStringLiteral("Filename   : ") + qs(files[2]) << QStringLiteral("CRC32      : ") + kAbcCrc;
    EXPECT_EQ(reportLines(), expected);
    EXPECT_TRUE(worker()->Cancelled());
    EXPECT_EQ(messages(), QStringList{QStringLiteral("Hash Generating process ABORTED!")});
    EXPECT_EQ(page->generator->pbHash->value(), page->generator->pbHash->maximum());
    EXPECT_EQ(page->generator->pbHash->maximum(), 5);
}

// Many files: the lines reach the memo in batches, complete and in order, and
// an abort clicked while the run is under way ends it as aborted.
TEST_F(GeneratorPageTest, ManyFilesInOrderAndAbortWhileRunning)
{
    constexpr int kCount = 1500;
    std::vector<std::string> files;
    for (int i = 0; i < kCount; ++i)
        files.push_back(writeFile(numberedName("n", i), std::to_string(i)));
    addFiles(files);
    ASSERT_EQ(page->generator->HList->count(), kCount);
    click(page->generator->Button22);
    page->generator->chkHash->item(0)->setCheckState(Qt::Checked);

    generate();
    const QStringList lines = reportLines();
    ASSERT_EQ(lines.size(), 3 * kCount);
    for (int i = 0; i < kCount; ++i) {
        ASSERT_EQ(lines[3 * i], QStringLiteral("Filename   : ") + qs(files[static_cast<size_t>(i)])) << i;
        ASSERT_EQ(lines[3 * i + 1].toStdString(),
            "CRC32      : " + HashFileByAlgorithm(HashAlgorithm::haCRC32, files[static_cast<size_t>(i)])) << i;
        ASSERT_TRUE(lines[3 * i + 2].isEmpty()) << i;
    }
    EXPECT_EQ(messages(), QStringList{QStringLiteral("Hash Generating process completed!")});

    // Again, aborted by the button once a tenth of the list is done.
    dialogs_.messages.clear();
    QObject::connect(page->generator, &THashGeneratorPage::hashEntryRequested, page, [this](int position) {
        if (position == kCount / 10)
            click(page->generator->btnGHash);
    });
    generate();
    EXPECT_TRUE(worker()->Cancelled());
    EXPECT_EQ(messages(), QStringList{QStringLiteral("Hash Generating process ABORTED!")});
    EXPECT_EQ(reportLines().size(), 3 * (kCount / 10) + 2);
}

// Entries removed during a run: the run took the count at its start, so the
// next entry it asks for is gone; the error is reported and the run ends as
// aborted with the report written so far.
TEST_F(GeneratorPageTest, ListEmptiedDuringARunEndsItAsAborted)
{
    addFiles({writeFile("a.bin", "abc"), writeFile("b.bin", "abc"), writeFile("c.bin", "abc")});
    QObject::connect(page->generator, &THashGeneratorPage::hashEntryRequested, page, [this](int position) {
        if (position == 1)
            click(page->generator->Button18);
    });
    generate();
    ASSERT_EQ(dialogs_.messages.size(), 2u);
    EXPECT_EQ(dialogs_.messages[0].caption, QStringLiteral("Application Error"));
    EXPECT_TRUE(dialogs_.messages[0].text.endsWith(QStringLiteral("List index out of bounds (1)")))
        << dialogs_.messages[0].text.toStdString();
    EXPECT_EQ(dialogs_.messages[1].text, QStringLiteral("Hash Generating process ABORTED!"));
    EXPECT_EQ(reportLines().size(), 5);
}

// A listed file that is gone: CRC32 reads "00000000" and the run completes;
// MD5 reports its open error and the run ends as aborted after the lines
// written before the failing digest.
TEST_F(GeneratorPageTest, FileDeletedAfterListing)
{
    const std::string gone = writeFile("gone.bin", "abc");
    addFiles({gone});
    ASSERT_EQ(::unlink(gone.c_str()), 0);

    click(page->generator->Button22);
    page->generator->chkHash->item(0)->setCheckState(Qt::Checked);
    generate();
    EXPECT_EQ(reportLines(), (QStringList{QStringLiteral("Filename   : ") + qs(gone),
                                 QStringLiteral("CRC32      : 00000000"), QString()}));
    EXPECT_EQ(messages(), QStringList{QStringLiteral("Hash Generating process completed!")});

    dialogs_.messages.clear();
    page->generator->chkHash->item(2)->setCheckState(Qt::Checked);
    generate();
    EXPECT_EQ(reportLines(), (QStringList{QStringLiteral("Filename   : ") + qs(gone),
                                 QStringLiteral("CRC32      : 00000000")}));
    ASSERT_EQ(dialogs_.messages.size(), 2u);
    EXPECT_EQ(dialogs_.messages[0].caption, QStringLiteral("Application Error"));
    EXPECT_TRUE(dialogs_.messages[0].text.contains(
        QStringLiteral("TFileStreamW: Cannot open file \"") + qs(gone) + QStringLiteral("\"")))
        << dialogs_.messages[0].text.toStdString();
    EXPECT_EQ(dialogs_.messages[1].text, QStringLiteral("Hash Generating process ABORTED!"));
}

// Closing the window during a run cancels it and waits for it: the abort
// message appears during the close and the work had stopped at its first
// digest line, since the run could not go on before the close asked it to end.
TEST_F(GeneratorPageTest, ClosingTheWindowAbortsARun)
{
    std::vector<std::string> files;
    for (int i = 0; i < 50; ++i)
        files.push_back(writeFile(numberedName("c", i), "abc"));
    addFiles(files);
    click(page->generator->btnGHash);
    ASSERT_TRUE(worker()->IsWorking());
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(worker()->IsWorking());
    EXPECT_TRUE(worker()->Cancelled());
    EXPECT_EQ(messages(), QStringList{QStringLiteral("Hash Generating process ABORTED!")});
    EXPECT_EQ(reportLines(), (QStringList{QStringLiteral("Filename   : ") + qs(files[0]),
                                 QStringLiteral("CRC32      : ") + kAbcCrc}));
}

TEST_F(GeneratorPageTest, CopyToClipboardTakesTheWholeReport)
{
    addFiles({writeFile("abc.bin", "abc"), writeFile("empty.bin", "")});
    generate();
    QGuiApplication::clipboard()->setText(QStringLiteral("something else"));
    click(page->generator->Button17);
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_EQ(copied, page->generator->mHash->toPlainText());
    EXPECT_TRUE(copied.contains(QStringLiteral("SHA-1      : ") + kEmptySha1));
    EXPECT_EQ(page->generator->mHash->textCursor().selectedText().size(), copied.size());
}

}  // namespace
