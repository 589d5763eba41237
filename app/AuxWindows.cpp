#include "app/AuxWindows.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Glyphs.h"
#include "app/ShellIntegration.h"
#include "app/UserSettings.h"

const char* const kHomepageUrl = "https://korvala.example/";
const char* const kMakerAddress = "korvala.example";

namespace {

// Icon, bold heading and text side by side, with a Close button below.
QVBoxLayout* frameWindow(QDialog& window, const QString& name, const QString& title,
    const QString& heading, const QString& text)
{
    window.setObjectName(name);
    window.setWindowTitle(title);
    window.setWindowIcon(programWindowIcon());
    auto* layout = new QVBoxLayout(&window);
    auto* top = new QHBoxLayout;
    auto* icon = new QLabel(&window);
    icon->setPixmap(programIcon(64));
    icon->setAlignment(Qt::AlignTop);
    top->addWidget(icon);
    auto* texts = new QVBoxLayout;
    auto* head = new QLabel(heading, &window);
    QFont bold = head->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    head->setFont(bold);
    texts->addWidget(head);
    auto* body = new QLabel(text, &window);
    body->setWordWrap(true);
    body->setObjectName(QStringLiteral("lblText"));
    body->setTextInteractionFlags(Qt::TextSelectableByMouse);
    texts->addWidget(body);
    texts->addStretch(1);
    top->addLayout(texts, 1);
    layout->addLayout(top, 1);
    return layout;
}

void addCloseButton(QDialog& window, QVBoxLayout* layout)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &window);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
    layout->addWidget(buttons);
}

}  // namespace

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent)
{
    QVBoxLayout* layout = frameWindow(*this, QStringLiteral("frmAbout"), QStringLiteral("About"),
        QStringLiteral("Korvala 2016.8"),
        QStringLiteral("A toolbox for files and folders: attributes, time stamps, duplicates, "
                       "hashes, secure deletion, search, sharing and more.\n\n"
                       "Last update: August 2016.\n"
                       "Icons: drawn for Korvala."));
    addCloseButton(*this, layout);
    setFixedWidth(420);
}

TfrmDonate::TfrmDonate(QWidget* parent) : QDialog(parent)
{
    QVBoxLayout* layout = frameWindow(*this, QStringLiteral("frmDonate"), QStringLiteral("Donate"),
        QStringLiteral("Support Korvala"),
        QStringLiteral("Korvala is free. If it saves you time, please consider a donation: "
                       "it keeps the program maintained and free for everyone."));
    auto* donate = new QPushButton(QStringLiteral("Donate"), this);
    donate->setObjectName(QStringLiteral("btnDonate"));
    connect(donate, &QPushButton::clicked, this,
        [] { shell().openUrl(QString::fromLatin1(kHomepageUrl) + QStringLiteral("donate")); });
    layout->addWidget(donate, 0, Qt::AlignLeft);
    chkShow = new QCheckBox(QStringLiteral("Show this dialog when \"%1\" starts").arg(QStringLiteral("Korvala")), this);
    chkShow->setObjectName(QStringLiteral("chkShow"));
    const QString stored = ReadUserString(QStringLiteral("Software\\Meridane\\Support"), QStringLiteral("53"));
    chkShow->setChecked(stored.isEmpty() || stored == QStringLiteral("1"));
    connect(chkShow, &QCheckBox::toggled, this, [](bool checked) {
        WriteUserString(QStringLiteral("Software\\Meridane\\Support"), QStringLiteral("53"),
            checked ? QStringLiteral("1") : QStringLiteral("0"));
    });
    layout->addWidget(chkShow);
    addCloseButton(*this, layout);
    setFixedWidth(440);
}

TfrmSupport::TfrmSupport(QWidget* parent) : QDialog(parent)
{
    QVBoxLayout* layout = frameWindow(*this, QStringLiteral("frmSupport"), QStringLiteral("Support Us!"),
        QStringLiteral("Ways to support us"),
        QStringLiteral("- Tell your friends about Korvala.\n"
                       "- Report problems and ideas on our homepage.\n"
                       "- Translate the program into your language.\n"
                       "- Make a donation."));
    auto* visit = new QPushButton(QStringLiteral("Visit Homepage"), this);
    visit->setObjectName(QStringLiteral("btnVisit"));
    connect(visit, &QPushButton::clicked, this, [] { shell().openUrl(QString::fromLatin1(kHomepageUrl)); });
    layout->addWidget(visit, 0, Qt::AlignLeft);
    addCloseButton(*this, layout);
    setFixedWidth(420);
}

TfrmMoreSoftware::TfrmMoreSoftware(QWidget* parent) : QDialog(parent)
{
    QVBoxLayout* layout = frameWindow(*this, QStringLiteral("frmMore"), QStringLiteral("More Software"),
        QStringLiteral("More software from us"),
        QStringLiteral("Other free programs of the maker:"));
    auto* grid = new QGridLayout;
    const char* const programs[][2] = {
        {"Disk Sweeper", "Removes temporary files and caches."},
        {"Folder Sizer", "Shows which folders fill your disk."},
        {"Text Mender", "Batch find and replace in text files."},
        {"Photo Namer", "Renames photos by their shooting date."},
    };
    int row = 0;
    for (const auto& program : programs) {
        auto* name = new QLabel(QStringLiteral("<b>%1</b><br>%2").arg(QString::fromLatin1(program[0]),
            QString::fromLatin1(program[1])), this);
        auto* download = new QPushButton(QStringLiteral("Download"), this);
        const QString slug = QString::fromLatin1(program[0]).toLower().replace(u' ', u'-');
        connect(download, &QPushButton::clicked, this,
            [slug] { shell().openUrl(QString::fromLatin1(kHomepageUrl) + slug); });
        grid->addWidget(name, row, 0);
        grid->addWidget(download, row, 1, Qt::AlignRight | Qt::AlignVCenter);
        ++row;
    }
    layout->insertLayout(1, grid);
    addCloseButton(*this, layout);
    setFixedWidth(460);
}
