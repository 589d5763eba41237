#include "app/UpdateChecker_Main.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>

#include "app/Dialogs.h"
#include "app/Glyphs.h"
#include "app/Guard.h"
#include "app/ShellIntegration.h"
#include "update/UpdateCheck.h"

namespace {

const char* const kHelpKeywordProperty = "HelpKeyword";

const QColor kFailedColor(255, 0, 0);
const QColor kNoUpdateColor(0, 0, 255);
const QColor kNewUpdateColor(0, 128, 0);

void setTextColor(QWidget* widget, QPalette::ColorRole role, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
}

QFont boldFont(const QWidget* widget, int pixelSize)
{
    QFont font = widget->font();
    font.setBold(true);
    font.setPixelSize(pixelSize);
    return font;
}

// Texts from the server are shown as they are, never as markup.
QLabel* plainLabel(const QString& text, QWidget* parent, const QString& name)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

}  // namespace

QColor colorFromNumber(uint32_t number)
{
    return QColor(static_cast<int>(number & 0xFF), static_cast<int>((number >> 8) & 0xFF),
        static_cast<int>((number >> 16) & 0xFF));
}

// What the check reports, shown in the labels and through the dialogs.
class TfrmUCheck::TResultView final : public korvala::TUpdateCheckView {
public:
    explicit TResultView(TfrmUCheck& window) : m_window(window) {}

    void showResult(const korvala::TUpdateResult& result) override
    {
        QLabel* label = m_window.lblRes;
        label->setText(QString::fromUtf8(korvala::updateResultText(result.outcome)));
        m_window.lblLatest->setText(QString::fromStdString(result.latest));
        m_window.m_downloadAddress = result.downloadLink;
        switch (result.outcome) {
        case korvala::TUpdateOutcome::Failed:
            setTextColor(label, QPalette::WindowText, kFailedColor);
            label->setCursor(Qt::ArrowCursor);
            break;
        case korvala::TUpdateOutcome::NoUpdate:
            setTextColor(label, QPalette::WindowText, kNoUpdateColor);
            label->setCursor(Qt::ArrowCursor);
            break;
        case korvala::TUpdateOutcome::NewUpdate:
            setTextColor(label, QPalette::WindowText, kNewUpdateColor);
            label->setCursor(Qt::PointingHandCursor);
            break;
        }
        label->setVisible(true);
    }

    void showMessage(const std::string& text, bool errorIcon) override
    {
        dialogs().message(&m_window, QString::fromUtf8(text), errorIcon ? Dialogs::Icon::Error : Dialogs::Icon::None);
    }

private:
    TfrmUCheck& m_window;
};

TfrmUCheck::TfrmUCheck(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
              | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , connectionTest(korvala::IsConnectedFor)
{
    setObjectName(QStringLiteral("frmUCheck"));
    setWindowTitle(QStringLiteral("Update Checker"));
    setWindowIcon(programWindowIcon());
    setFixedSize(475, 242);

    Panel1 = versionPanel(QStringLiteral("Panel1"), QStringLiteral("CURRENT VERSION"), Shape1, Label1, lblCurrent, 8);
    lblCurrent->setObjectName(QStringLiteral("lblCurrent"));
    Panel2 = versionPanel(QStringLiteral("Panel2"), QStringLiteral("LATEST VERSION"), Shape2, Label2, lblLatest, 242);
    lblLatest->setObjectName(QStringLiteral("lblLatest"));
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape2->setObjectName(QStringLiteral("Shape2"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->setObjectName(QStringLiteral("Label2"));

    GroupBox1 = new QGroupBox(QStringLiteral(" Server "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 100, 225, 66);
    m_servers = new QButtonGroup(this);
    m_servers->setExclusive(true);
    QToolButton** buttons[] = {&srv1, &srv2, &srv4};
    const char* const names[] = {"srv1", "srv2", "srv4"};
    const auto servers = korvala::updateServers();
    for (size_t i = 0; i < servers.size(); ++i) {
        const korvala::TUpdateServer& server = servers[i];
        auto* button = new QToolButton(GroupBox1);
        button->setObjectName(QString::fromLatin1(names[i]));
        button->setText(QString::number(server.number));
        button->setCheckable(true);
        button->setGeometry(16 + static_cast<int>(i) * 68, 26, 58, 28);
        const QString base = QString::fromStdString(server.baseAddress);
        button->setProperty(kHelpKeywordProperty, base);
        button->setToolTip(QStringLiteral("Server %1 : %2%3")
                               .arg(server.number)
                               .arg(base, server.dead ? QStringLiteral(" (DEAD)") : QString()));
        button->setEnabled(!server.dead);
        m_servers->addButton(button);
        *buttons[i] = button;
    }
    srv2->setChecked(true);
    connect(m_servers, &QButtonGroup::buttonClicked, this,
        [this](QAbstractButton* sender) { runGuarded(this, [&] { ServerSelect(sender); }); });

    BitBtn1 = new QPushButton(QStringLiteral("Check for Update"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(242, 106, 225, 60);
    BitBtn1->setFont(boldFont(BitBtn1, 15));
    setTextColor(BitBtn1, QPalette::ButtonText, kNewUpdateColor);
    BitBtn1->setAutoDefault(false);
    onClicked(BitBtn1, this, &TfrmUCheck::BitBtn1Click);

    lblRes = plainLabel(QStringLiteral("-"), this, QStringLiteral("lblRes"));
    lblRes->setGeometry(8, 176, 459, 56);
    lblRes->setFont(boldFont(lblRes, 15));
    lblRes->setWordWrap(true);
    lblRes->setVisible(false);
    lblRes->installEventFilter(this);

    FormCreate();
}

TfrmUCheck::~TfrmUCheck() = default;

QFrame* TfrmUCheck::versionPanel(const QString& name, const QString& header, QWidget*& shape, QLabel*& headerLabel,
    QLabel*& versionLabel, int x)
{
    auto* panel = new QFrame(this);
    panel->setObjectName(name);
    panel->setFrameShape(QFrame::Box);
    panel->setGeometry(x, 8, 225, 84);
    shape = new QWidget(panel);
    shape->setGeometry(1, 1, 223, 26);
    shape->setAutoFillBackground(true);
    headerLabel = plainLabel(header, shape, QString());
    headerLabel->setGeometry(0, 0, 223, 26);
    headerLabel->setFont(boldFont(headerLabel, 13));
    setTextColor(headerLabel, QPalette::WindowText, Qt::white);
    versionLabel = plainLabel(QStringLiteral("-"), panel, QString());
    versionLabel->setGeometry(4, 30, 217, 50);
    versionLabel->setFont(boldFont(versionLabel, 22));
    return panel;
}

void TfrmUCheck::setHeaderColor(const QColor& color)
{
    for (QWidget* shape : {Shape1, Shape2}) {
        QPalette palette = shape->palette();
        palette.setColor(QPalette::Window, color);
        shape->setPalette(palette);
    }
}

void TfrmUCheck::FormCreate()
{
    m_updateAddress = korvala::updateAddressOf(srv2->property(kHelpKeywordProperty).toString().toStdString());
}

void TfrmUCheck::ServerSelect(QAbstractButton* sender)
{
    m_updateAddress = korvala::updateAddressOf(sender->property(kHelpKeywordProperty).toString().toStdString());
}

void TfrmUCheck::BitBtn1Click()
{
    TResultView view(*this);
    korvala::TUpdateCheckOptions options;
    options.isConnected = connectionTest;
    options.download = downloadOptions;
    korvala::RunUpdateCheck(lblCurrent->text().toStdString(), m_updateAddress, m_tag, view, options);
}

void TfrmUCheck::lblResClick()
{
    // Only a web address is handed on: a local path, a "file:" address or
    // another scheme could start a program of the machine.
    if (!m_downloadAddress.empty() && korvala::IsWebAddress(m_downloadAddress))
        shell().openUrl(QString::fromStdString(m_downloadAddress));
}

void TfrmUCheck::FormKeyPress(int key)
{
    if (key == Qt::Key_Escape)
        close();
}

void TfrmUCheck::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        FormKeyPress(event->key());
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TfrmUCheck::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lblRes && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        runGuarded(this, [this] { lblResClick(); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
