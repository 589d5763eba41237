#pragma once
// The Splitter & Joiner and File Shredder window tests: a shown main window on
// the tool's page, and test dialogs that also answer the single-file chooser
// and the shredder's warning.

#include <ostream>
#include <string>
#include <vector>

#include <QString>
#include <QStringList>

#include "DirectoryEntries.h"
#include "GuiFixture.h"
#include "PageTestSupport.h"

// Readable failure messages for texts and lists of texts.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& texts, std::ostream* out)
{
    *out << '{';
    for (const QString& t : texts) {
        PrintTo(t, out);
        *out << ", ";
    }
    *out << '}';
}

class SjfsDialogs : public TestDialogs {
public:
    struct Chooser {
        QString title, filter, folder;
    };
    std::vector<Chooser> choosers;
    std::vector<QString> nextOpenFile;  // answers, front first; none: cancelled
    bool confirmAnswer = true;

    QString openFileIn(QWidget*, const QString& title, const QString& filter, const QString& folder) override
    {
        choosers.push_back({title, filter, folder});
        if (nextOpenFile.empty())
            return {};
        QString answer = nextOpenFile.front();
        nextOpenFile.erase(nextOpenFile.begin());
        return answer;
    }
    QString openFile(QWidget* parent, const QString& title, const QString& filter) override
    {
        return openFileIn(parent, title, filter, QString());
    }
    bool confirm(QWidget* parent, const QString& text, Icon icon) override
    {
        TestDialogs::confirm(parent, text, icon);
        return confirmAnswer;
    }
};

class SjfsFixture : public GuiFixture {
protected:
    // Shows the page of the tool whose button has this hint.
    void SetUpOn(const char* hint)
    {
        dialogs_.reset();
        dialogs_.choosers.clear();
        dialogs_.nextOpenFile.clear();
        dialogs_.confirmAnswer = true;
        setDialogs(&dialogs_);
        GuiFixture::SetUp();
        click(window->findToolButton(QString::fromLatin1(hint)));
    }
    void TearDown() override
    {
        GuiFixture::TearDown();
        setDialogs(&testDialogs());
    }

    QStringList messages() const { return dialogs_.messageTexts(); }

    static bool exists(const std::string& path) { return korvala::test::pathExists(path); }

    SjfsDialogs dialogs_;
    korvala::test::TTempTree tree;
};
