// The Verify Checksum and Compare Files sub-pages: their controls, verdicts
// and colours on real files, errors, the comparer's abort between its two
// digests, and the three workers of the Hash page running at once.

#include <QClipboard>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPlainTextEdit>
#include <QTabWidget>

#include "HashPageFixture.h"
#include "app/ItemList.h"
#include "tools/hash/ChecksumCheck.h"

namespace {

using namespace korvala;

const QColor kGreen(0, 128, 0);
const QColor kRed(255, 0, 0);
// A read long enough that clicks made right after a start find the run still
// working (hundreds of milliseconds here), and the MD5 of that many zeros.
constexpr off_t kLongRead = off_t(256) << 20;
const QString kLongReadMd5 = QStringLiteral("1f5039e50bd66b290c56684d8550c6c2");

QColor textColour(const QLabel* label)
{
    return label->palette().color(QPalette::WindowText);
}

class VerifyPageTest : public HashPageFixture {
protected:
    void SetUp() override
    {
        HashPageFixture::SetUp();
        page->PageControl5->setCurrentWidget(page->verifier);
    }

    TBackgroundWorker* worker() const { return window->worker("trdVChk"); }

    // Clicks VERIFY and waits for the run; false when nothing started.
    bool verify()
    {
        click(page->verifier->btnVerify);
        if (!worker()->IsWorking())
            return false;
        EXPECT_EQ(page->verifier->btnVerify->text(), QStringLiteral("Please Wait...."));
        EXPECT_TRUE(page->verifier->lblVC->text().isEmpty());
        worker()->WaitFor();
        EXPECT_EQ(page->verifier->btnVerify->text(), QStringLiteral("VERIFY"));
        return true;
    }
};

class ComparePageTest : public HashPageFixture {
protected:
    void SetUp() override
    {
        HashPageFixture::SetUp();
        page->PageControl5->setCurrentWidget(page->comparer);
    }

    TBackgroundWorker* worker() const { return window->worker("trdCF"); }

    void chooseAlgorithm(const QString& name)
    {
        const int position = page->comparer->ComboBox1->findText(name);
        ASSERT_GE(position, 0) << name.toStdString();
        page->comparer->ComboBox1->setCurrentIndex(position);
    }

    // Clicks COMPARE: while the run lasts the list is disabled and the button
    // reads ABORT; afterwards both are back.
    void compare()
    {
        click(page->comparer->btnCompare);
        ASSERT_TRUE(worker()->IsWorking());
        EXPECT_FALSE(page->comparer->ComboBox1->isEnabled());
        EXPECT_EQ(page->comparer->btnCompare->text(), QStringLiteral("ABORT"));
        worker()->WaitFor();
        EXPECT_TRUE(page->comparer->ComboBox1->isEnabled());
        EXPECT_EQ(page->comparer->btnCompare->text(), QStringLiteral("COMPARE"));
    }
};

TEST_F(VerifyPageTest, ControlsStartAsDescribed)
{
    const std::vector<std::pair<const char*, QString>> texts = {
        {"Label58", QStringLiteral("File Location :")},
        {"Label63", QStringLiteral("Note : File with BIG size will take longer Verification Time")},
        {"Label59", QStringLiteral("Hash Algorithm :")},
        {"Label60", QStringLiteral("Hash Code / Checksum :")},
        {"lblVC", QString()},
        {"Label61", QStringLiteral("1st File Location :")},
        {"Label62", QStringLiteral("2nd File Location :")},
        {"Label64", QStringLiteral("Hash Algorithm :")},
        {"hcLoc1", QStringLiteral("1st File Checksum : -")},
        {"hcLoc2", QStringLiteral("2nd File Checksum : -")},
        {"CFRes", QString()},
    };
    for (const auto& [name, text] : texts)
        EXPECT_EQ(find<QLabel>(name)->text(), text) << name;
    const std::vector<std::pair<const char*, QString>> buttons = {
        {"Button42", QStringLiteral("...")}, {"Button43", QStringLiteral("Paste")},
        {"btnVerify", QStringLiteral("VERIFY")}, {"Button44", QStringLiteral("...")},
        {"Button45", QStringLiteral("...")}, {"btnCompare", QStringLiteral("COMPARE")},
    };
    for (const auto& [name, text] : buttons)
        EXPECT_EQ(find<QPushButton>(name)->text(), text) << name;
    for (const char* name : {"vcLoc", "vcHCode", "cfLoc1", "cfLoc2"})
        EXPECT_TRUE(find<QLineEdit>(name)->text().isEmpty()) << name;
    EXPECT_NE(find<QFrame>("Panel2"), nullptr);
    EXPECT_NE(find<QFrame>("Panel3"), nullptr);

    auto* algorithms = find<QComboBox>("cmbHAlg");
    EXPECT_FALSE(algorithms->isEditable());
    ASSERT_EQ(algorithms->count(), 12);
    for (int k = 0; k < 12; ++k)
        EXPECT_EQ(algorithms->itemText(k).toStdString(), HashAlgorithmNames[static_cast<size_t>(k)]);
    EXPECT_EQ(algorithms->currentText(), QStringLiteral("MD5"));

    // The comparer offers ten names, mapped by name: position 7 is Tiger-128.
    auto* offered = find<QComboBox>("ComboBox1");
    EXPECT_FALSE(offered->isEditable());
    const QStringList names = {"CRC32", "MD4", "MD5", "RIPEMD-128", "RIPEMD-160", "SHA-1", "SHA-256",
        "Tiger-128", "Tiger-160", "Tiger-192"};
    ASSERT_EQ(offered->count(), names.size());
    for (int i = 0; i < names.size(); ++i) {
        EXPECT_EQ(offered->itemText(i), names[i]);
        EXPECT_EQ(QString::fromLatin1(hashAlgorithmName(THashComparePage::compareAlgorithmAt(i)).data()), names[i]);
    }
    EXPECT_EQ(offered->currentText(), QStringLiteral("CRC32"));
}

// Verdicts with their colours; the expected code is pasted from the
// clipboard, and its letter case does not matter but spaces and line breaks do.
TEST_F(VerifyPageTest, VerdictsAndColours)
{
    const std::string file = writeFile("data.bin", "abc");
    page->verifier->vcLoc->setText(qs(file));
    page->verifier->cmbHAlg->setCurrentIndex(page->verifier->cmbHAlg->findText(QStringLiteral("SHA-1")));
    struct Case {
        QString code;
        bool same;
    };
    const Case cases[] = {
        {QStringLiteral("A9993E364706816ABA3E25717850C26C9CD0D89D"), true},
        {QStringLiteral("a9993e364706816aba3e25717850c26c9cd0d89d"), true},
        {QStringLiteral("a9993e364706816aba3e25717850c26c9cd0d89d "), false},
        {QStringLiteral("a9993e364706816aba3e25717850c26c9cd0d89d\n"), false},
        {QStringLiteral("900150983CD24FB0D6963F7D28E17F72"), false},   // MD5 of the same bytes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code.toStdString());
        dialogs_.messages.clear();
        QGuiApplication::clipboard()->setText(c.code);
        page->verifier->vcHCode->setText(QStringLiteral("old text"));
        click(page->verifier->Button43);
        EXPECT_EQ(page->verifier->vcHCode->text(), c.code);
        ASSERT_TRUE(verify());
        EXPECT_EQ(page->verifier->lblVC->text(), c.same ? QStringLiteral("File Checksum is SAME")
                                              : QStringLiteral("File Checksum is DIFFERENT"));
        EXPECT_EQ(textColour(page->verifier->lblVC), c.same ? kGreen : kRed);
        EXPECT_EQ(messages(), QStringList{QStringLiteral("Checksum Verification Process Completed!")});
    }

    // The next click clears the verdict; without a code nothing starts.
    page->verifier->vcHCode->clear();
    EXPECT_FALSE(verify());
    EXPECT_TRUE(page->verifier->lblVC->text().isEmpty());
}

TEST_F(VerifyPageTest, BrowseAndAMissingFile)
{
    const std::string gone = folder + "/missing.bin";
    dialogs_.nextOpenFile.push_back(qs(gone));
    click(page->verifier->Button42);
    EXPECT_EQ(dialogs_.openFileTitles, std::vector<QString>{QStringLiteral("Select File")});
    EXPECT_EQ(page->verifier->vcLoc->text(), qs(gone));
    // Cancelling the chooser keeps the text; with a path in the box the
    // chooser starts in that path's folder.
    click(page->verifier->Button42);
    EXPECT_EQ(page->verifier->vcLoc->text(), qs(gone));
    EXPECT_EQ(dialogs_.openFileFolders, (std::vector<QString>{QString(), qs(folder)}));

    // MD5 (the start choice) and CRC32 with the code of an empty file: the
    // open error, no verdict. CRC32 must not take the missing file for an
    // empty one.
    const struct {
        int algorithm;
        QString code;
        QString error;
    } cases[] = {
        {2, QStringLiteral("D41D8CD98F00B204E9800998ECF8427E"), QStringLiteral("TFileStreamW: Cannot open file \"")},
        {0, QStringLiteral("00000000"), QStringLiteral("Cannot open file \"")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(page->verifier->cmbHAlg->itemText(c.algorithm).toStdString());
        dialogs_.messages.clear();
        page->verifier->cmbHAlg->setCurrentIndex(c.algorithm);
        page->verifier->vcHCode->setText(c.code);
        ASSERT_TRUE(verify());
        ASSERT_EQ(dialogs_.messages.size(), 2u) << messages().join('|').toStdString();
        EXPECT_EQ(dialogs_.messages[0].caption, QStringLiteral("Application Error"));
        EXPECT_TRUE(dialogs_.messages[0].text.endsWith(
            c.error + qs(gone) + QStringLiteral("\". No such file or directory")))
            << dialogs_.messages[0].text.toStdString();
        EXPECT_EQ(dialogs_.messages[1].text, QStringLiteral("Checksum Verification Process Completed!"));
        EXPECT_TRUE(page->verifier->lblVC->text().isEmpty());
    }
}

TEST_F(ComparePageTest, SameAndDifferentFiles)
{
    const std::string first = writeFile("first.bin", std::string(3000, 'q') + "A");
    const std::string second = writeFile("second.bin", std::string(3000, 'q') + "B");
    dialogs_.nextOpenFile = {qs(first), qs(second)};
    click(page->comparer->Button44);
    click(page->comparer->Button45);
    EXPECT_EQ(page->comparer->cfLoc1->text(), qs(first));
    EXPECT_EQ(page->comparer->cfLoc2->text(), qs(second));
    EXPECT_EQ(dialogs_.openFileTitles, (std::vector<QString>{QStringLiteral("Select File"), QStringLiteral("Select File")}));

    // Two files differing in their last byte, with Tiger-128.
    chooseAlgorithm(QStringLiteral("Tiger-128"));
    compare();
    const QString d1 = qs(HashFileByAlgorithm(HashAlgorithm::haTiger128, first));
    const QString d2 = qs(HashFileByAlgorithm(HashAlgorithm::haTiger128, second));
    ASSERT_NE(d1, d2);
    EXPECT_EQ(page->comparer->hcLoc1->text(), QStringLiteral("1st File Checksum : ") + d1);
    EXPECT_EQ(page->comparer->hcLoc2->text(), QStringLiteral("2nd File Checksum : ") + d2);
    EXPECT_EQ(page->comparer->CFRes->text(), QStringLiteral("Both File Checksum are DIFFERENT"));
    EXPECT_EQ(textColour(page->comparer->CFRes), kRed);
    EXPECT_EQ(messages(), QStringList{QStringLiteral("File Compare Process Completed!")});

    // A file with itself: the same digest twice, 64 digits with SHA-256 and
    // 48 with Tiger-192, the last entry.
    page->comparer->cfLoc2->setText(qs(first));
    for (const auto& [name, digits] : {std::pair{QStringLiteral("SHA-256"), 64}, {QStringLiteral("Tiger-192"), 48}}) {
        SCOPED_TRACE(name.toStdString());
        chooseAlgorithm(name);
        compare();
        const QString digest = page->comparer->hcLoc1->text().mid(20);
        EXPECT_EQ(digest.size(), digits);
        EXPECT_EQ(page->comparer->hcLoc2->text().mid(20), digest);
        EXPECT_EQ(page->comparer->CFRes->text(), QStringLiteral("Both File Checksum are SAME"));
        EXPECT_EQ(textColour(page->comparer->CFRes), kGreen);
    }

    // An empty path: nothing starts, the result labels are reset.
    page->comparer->cfLoc2->clear();
    click(page->comparer->btnCompare);
    EXPECT_FALSE(worker()->IsWorking());
    EXPECT_EQ(page->comparer->hcLoc1->text(), QStringLiteral("1st File Checksum : -"));
    EXPECT_TRUE(page->comparer->CFRes->text().isEmpty());
}

// ABORT while the first file is still being read (a large sparse file, read
// for far longer than the two clicks take): the second file is not hashed and
// the labels keep their dashes.
TEST_F(ComparePageTest, AbortBetweenTheTwoDigests)
{
    page->comparer->cfLoc1->setText(qs(makeSparse("first.bin", kLongRead)));
    page->comparer->cfLoc2->setText(qs(writeFile("second.bin", "abc")));
    click(page->comparer->btnCompare);
    ASSERT_TRUE(worker()->IsWorking());
    EXPECT_FALSE(page->comparer->ComboBox1->isEnabled());
    click(page->comparer->btnCompare);
    EXPECT_EQ(page->comparer->btnCompare->text(), QStringLiteral("ABORT"));
    worker()->WaitFor();
    EXPECT_TRUE(worker()->Cancelled());
    EXPECT_EQ(messages(), QStringList{QStringLiteral("File Compare Process ABORTED!")});
    EXPECT_EQ(page->comparer->hcLoc1->text(), QStringLiteral("1st File Checksum : -"));
    EXPECT_EQ(page->comparer->hcLoc2->text(), QStringLiteral("2nd File Checksum : -"));
    EXPECT_TRUE(page->comparer->CFRes->text().isEmpty());
    EXPECT_TRUE(page->comparer->ComboBox1->isEnabled());
    EXPECT_EQ(page->comparer->btnCompare->text(), QStringLiteral("COMPARE"));
}

// A named pipe is not a file to digest: with no writer it would hold the run
// for ever. It ends the comparison with the open error at once, as a missing
// file does (with a digest other than CRC32).
TEST_F(ComparePageTest, ANamedPipeEndsTheComparisonInsteadOfWaiting)
{
    page->comparer->cfLoc1->setText(qs(makeFifo("first.pipe")));
    page->comparer->cfLoc2->setText(qs(writeFile("second.bin", "abc")));
    chooseAlgorithm(QStringLiteral("SHA-1"));
    compare();
    ASSERT_EQ(dialogs_.messages.size(), 2u) << messages().join('|').toStdString();
    EXPECT_EQ(dialogs_.messages[0].caption, QStringLiteral("Application Error"));
    EXPECT_TRUE(dialogs_.messages[0].text.contains(QStringLiteral("Not a regular file")))
        << dialogs_.messages[0].text.toStdString();
    EXPECT_EQ(dialogs_.messages[1].text, QStringLiteral("File Compare Process ABORTED!"));
}

// A file that cannot be opened: the error, then the abort message, and no
// verdict, with CRC32 (the start choice) as with any other digest. CRC32 must
// not give a missing file or a folder the digest of an empty file: an empty
// file and a missing one, or two folders, would be the SAME.
TEST_F(ComparePageTest, FileThatCannotBeOpenedEndsAsAborted)
{
    const std::string empty = writeFile("empty.bin", "");
    const std::string missing = folder + "/missing.bin";
    const struct {
        QString algorithm;
        std::string first, second, failing, reason;
    } cases[] = {
        {QStringLiteral("CRC32"), empty, missing, missing, "No such file or directory"},
        {QStringLiteral("CRC32"), folder, folder, folder, "Is a directory"},
        {QStringLiteral("SHA-1"), writeFile("here.bin", "abc"), missing, missing, "No such file or directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.algorithm.toStdString() + " " + c.first + " " + c.second);
        dialogs_.messages.clear();
        page->comparer->cfLoc1->setText(qs(c.first));
        page->comparer->cfLoc2->setText(qs(c.second));
        chooseAlgorithm(c.algorithm);
        compare();
        ASSERT_EQ(dialogs_.messages.size(), 2u) << messages().join('|').toStdString();
        EXPECT_EQ(dialogs_.messages[0].caption, QStringLiteral("Application Error"));
        EXPECT_TRUE(dialogs_.messages[0].text.contains(
            qs("Cannot open file \"" + c.failing + "\". " + c.reason)))
            << dialogs_.messages[0].text.toStdString();
        EXPECT_EQ(dialogs_.messages[1].text, QStringLiteral("File Compare Process ABORTED!"));
        EXPECT_EQ(page->comparer->hcLoc1->text(), QStringLiteral("1st File Checksum : -"));
        EXPECT_EQ(page->comparer->hcLoc2->text(), QStringLiteral("2nd File Checksum : -"));
        EXPECT_TRUE(page->comparer->CFRes->text().isEmpty());
    }
}

// The generator, the verifier and the comparer run at the same time, each on
// a large sparse file that takes far longer to read than the clicks that
// start them. The verifier cannot be aborted and runs to its verdict while
// the other two are stopped.
TEST_F(ComparePageTest, TheThreeRunAtOnce)
{
    page->PageControl5->setCurrentWidget(page->generator);
    dialogs_.nextOpenFiles.push_back({qs(makeSparse("hash.bin", kLongRead))});
    click(page->generator->Button20);
    click(page->generator->btnGHash);
    page->PageControl5->setCurrentWidget(page->verifier);
    page->verifier->vcLoc->setText(qs(makeSparse("verify.bin", kLongRead)));
    page->verifier->vcHCode->setText(kLongReadMd5);
    click(page->verifier->btnVerify);
    page->PageControl5->setCurrentWidget(page->comparer);
    page->comparer->cfLoc1->setText(qs(makeSparse("compare.bin", kLongRead)));
    page->comparer->cfLoc2->setText(qs(writeFile("abc.bin", "abc")));
    chooseAlgorithm(QStringLiteral("MD5"));
    click(page->comparer->btnCompare);

    EXPECT_TRUE(window->worker("trdHash")->IsWorking());
    EXPECT_TRUE(window->worker("trdVChk")->IsWorking());
    EXPECT_TRUE(window->worker("trdCF")->IsWorking());
    EXPECT_EQ(page->generator->btnGHash->text(), QStringLiteral("ABORT"));
    EXPECT_EQ(page->verifier->btnVerify->text(), QStringLiteral("Please Wait...."));
    EXPECT_EQ(page->comparer->btnCompare->text(), QStringLiteral("ABORT"));
    // A second click on the verifier's button does not abort it.
    click(page->verifier->btnVerify);
    EXPECT_TRUE(window->worker("trdVChk")->IsWorking());
    EXPECT_FALSE(window->worker("trdVChk")->CancellationPending());

    click(page->comparer->btnCompare);
    click(page->generator->btnGHash);
    window->worker("trdCF")->WaitFor();
    window->worker("trdHash")->WaitFor();
    window->worker("trdVChk")->WaitFor();

    EXPECT_EQ(page->verifier->lblVC->text(), QStringLiteral("File Checksum is SAME"));
    EXPECT_TRUE(page->comparer->CFRes->text().isEmpty());
    QStringList shown = messages();
    shown.sort();
    EXPECT_EQ(shown, (QStringList{QStringLiteral("Checksum Verification Process Completed!"),
                         QStringLiteral("File Compare Process ABORTED!"),
                         QStringLiteral("Hash Generating process ABORTED!")}));
}

}  // namespace
