#include "about/about_dialog.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include "about/app_icon.h"
#include "about/system_info.h"

namespace ritmova {

namespace {

constexpr int kTwipsPerInch = 1440;
constexpr int kInnerWidth = 5730;
constexpr int kInnerHeight = 3555;
constexpr int kIconPixels = 32;

constexpr char kTitleLine[] = "Heart Rate Variability Analysis";
constexpr char kDescription[] =
    "Spectral Analysis of Heart Rate Variability.\r\nBy the Ritmova project.";

int TwipsToPixels(int twips, int dotsPerInch) {
    return (twips * dotsPerInch + kTwipsPerInch / 2) / kTwipsPerInch;
}

// Texts keep CR LF line breaks; Qt breaks lines at LF alone.
QString DisplayText(const char* text) {
    return QString::fromUtf8(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QFont FormFont(bool bold) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    font.setBold(bold);
    return font;
}

QLabel* MakeLabel(QWidget* form, const char* name, const QRect& geometry, const QColor& color) {
    auto* label = new QLabel(form);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    return label;
}

QPushButton* MakeButton(QWidget* form, const char* name, const char* text, const QRect& geometry) {
    auto* button = new QPushButton(QString::fromUtf8(text), form);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    return button;
}

}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent), sysInfoHost_(this) {
    setObjectName(QStringLiteral("AboutDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowIcon(AppIcon());
    setFont(FormFont(false));
    setFixedSize(TwipsRect(0, 0, kInnerWidth, kInnerHeight).size());
    CreateControls();
    placeControls();
}

void AboutDialog::CreateControls() {
    // Created in tab order: OK first, then System Info; the labels take no focus.
    cmdOK = MakeButton(this, "cmdOK", "OK", TwipsRect(4320, 2640, 1260, 345));
    cmdOK->setDefault(true);
    cmdOK->setFocus();
    cmdSysInfo =
        MakeButton(this, "cmdSysInfo", "&System Info...", TwipsRect(4320, 3075, 1245, 345));
    connect(cmdOK, &QPushButton::clicked, this, &AboutDialog::onOk);
    connect(cmdSysInfo, &QPushButton::clicked, this, &AboutDialog::onSystemInfo);

    Image1 = MakeLabel(this, "Image1", TwipsRect(120, 240, 720, 720), Qt::black);
    Image1->setPixmap(AppIcon().pixmap(kIconPixels, kIconPixels));
    lblTitle = MakeLabel(this, "lblTitle", TwipsRect(1080, 240, 3885, 480), QColor(0, 0, 255));
    lblTitle->setFont(FormFont(true));
    lblVersion = MakeLabel(this, "lblVersion", TwipsRect(1080, 780, 3885, 225), QColor(128, 64, 0));
    lblVersion->setFont(FormFont(true));
    lblDescription =
        MakeLabel(this, "lblDescription", TwipsRect(1080, 1200, 3885, 1170), Qt::black);
    lblDisclaimer = MakeLabel(this, "lblDisclaimer", TwipsRect(255, 2625, 3870, 825), Qt::black);

    Line1[0] = {105, 2460, 5654, 2460, Qt::white, 2};
    Line1[1] = {90, 2445, 5654, 2445, QColor(128, 128, 128), 1};
}

// Centres the box on its screen and sets its texts.
void AboutDialog::placeControls() {
    const QRect screenArea = screen()->geometry();
    move(screenArea.x() + (screenArea.width() - width()) / 2,
         screenArea.y() + (screenArea.height() - height()) / 2);
    AboutTitle = QString::fromUtf8(kApplicationTitle.data(),
                                   static_cast<qsizetype>(kApplicationTitle.size()));
    setWindowTitle(QStringLiteral("About ") + AboutTitle);
    lblVersion->setText(AboutTitle);
    lblTitle->setText(QString::fromUtf8(kTitleLine));
    lblDescription->setText(DisplayText(kDescription));
}

void AboutDialog::onOk() {
    accept();
}

void AboutDialog::onSystemInfo() {
    StartSysInfo();
}

void AboutDialog::StartSysInfo() {
    ritmova::StartSysInfo(sysInfoHost_);
}

bool AboutDialog::GetKeyValue(RegistryRoot root, std::string_view keyPath,
                              std::string_view valueName, std::string& keyValue) {
    return ritmova::GetKeyValue(sysInfoHost_.SystemRegistry(), root, keyPath, valueName, keyValue);
}

void AboutDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    // The white line first, so that the grey one stays whole where they touch.
    for (const FormLine& line : {Line1[0], Line1[1]}) {
        const QPoint from = TwipsPoint(line.x1, line.y1);
        const QPoint to = TwipsPoint(line.x2, line.y2) + QPoint(0, line.width - 1);
        painter.fillRect(QRect(from, to), line.color);
    }
}

QPoint AboutDialog::TwipsPoint(int x, int y) const {
    return QPoint(TwipsToPixels(x, logicalDpiX()), TwipsToPixels(y, logicalDpiY()));
}

QRect AboutDialog::TwipsRect(int left, int top, int width, int height) const {
    return QRect(TwipsPoint(left, top),
                 QSize(TwipsToPixels(width, logicalDpiX()), TwipsToPixels(height, logicalDpiY())));
}

}  // namespace ritmova
