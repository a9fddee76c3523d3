#include "core/ui/splash_window.h"

#include "core/common_vars.h"
#include "core/string_table.h"
#include "core/ui/label_3d.h"
#include "core/ui/ui_text.h"
#include "platform/jpeg_image.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace orvek {

namespace {
QPixmap Picture(const QString& name)
{
    const QImage image = LoadJpegFile(AppDir + QStringLiteral("Pictures/") + name);
    return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}

bool LabelHasPicture(const QLabel* label)
{
    return label && !label->pixmap().isNull();
}

// A contact box's text: the firm, its role in the current language, the support address.
QString ContactHtml(const QString& firm, const QString& role)
{
    return QStringLiteral("<p><b>%1</b><br>%2</p><p>E-mail: <a href=\"mailto:%3\">%3</a></p>")
        .arg(firm.toHtmlEscaped(), role.toHtmlEscaped(), SupportEMail.toHtmlEscaped());
}
} // namespace

QString VersionCaption()
{
    return GetString(583) + QStringLiteral(": ") + kProgramVersion + QStringLiteral(" (") + GetString(1116)
        + QLatin1Char(')');
}

QString AboutCaption()
{
    return GetString(408) + QLatin1Char(' ') + ProgramName;
}

TfOrvekLoad::TfOrvekLoad(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("fOrvekLoad"));
    setFixedSize(480, 300);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(rect());
    Image1->setScaledContents(true);
    Image1->setStyleSheet(QStringLiteral("background: #2a6aa8;"));
    const QPixmap picture = Picture(QStringLiteral("splash.jpg"));
    if (!picture.isNull())
        Image1->setPixmap(picture);
    Label_Version = new TLabel3D(this);
    Label_Version->setObjectName(QStringLiteral("Label_Version"));
    QFont f = Label_Version->font();
    f.setPointSize(10);
    Label_Version->setFont(f);
    QPalette p = Label_Version->palette();
    p.setColor(QPalette::WindowText, QColor(255, 210, 74));
    Label_Version->setPalette(p);
    Label_Version->setGeometry(12, 270, 456, 24);
}

bool TfOrvekLoad::HasPicture() const
{
    return LabelHasPicture(Image1);
}

void TfOrvekLoad::FormActivate()
{
    setWindowTitle(AboutCaption());
    Label_Version->setText(VersionCaption());
}

void TfOrvekLoad::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    FormActivate();
}

TfOrvekAbout::TfOrvekAbout(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("fOrvekAbout"));
    setWindowTitle(AboutCaption());
    auto* grid = new QGridLayout(this);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(160, 160);
    Image1->setScaledContents(true);
    const QPixmap picture = Picture(QStringLiteral("about.jpg"));
    if (!picture.isNull())
        Image1->setPixmap(picture);
    Label_ProgramName = new QLabel(QStringLiteral("Orvek"), this);
    Label_ProgramName->setObjectName(QStringLiteral("Label_ProgramName"));
    QFont nameFont = Label_ProgramName->font();
    nameFont.setPointSize(22);
    nameFont.setBold(true);
    Label_ProgramName->setFont(nameFont);
    Label_Version = new QLabel(VersionCaption(), this);
    Label_Version->setObjectName(QStringLiteral("Label_Version"));
    Label_TechnicalSupport = new QLabel(GetString(771), this);
    Label_TechnicalSupport->setObjectName(QStringLiteral("Label_TechnicalSupport"));
    auto contact = [&](const char* name, const QString& html) {
        auto* box = new QTextBrowser(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setOpenLinks(false);
        box->setReadOnly(true);
        box->setHtml(html);
        box->setFixedHeight(110);
        return box;
    };
    RichEdit_Kestrava = contact("RichEdit_Kestrava",
        ContactHtml(QStringLiteral("Kestrava s.r.o."), UiText(23771, QStringLiteral("maker of the program"))));
    RichEdit_Brantel = contact("RichEdit_Brantel",
        ContactHtml(
            QStringLiteral("Brantel Measurement Ltd."), UiText(23772, QStringLiteral("distributor of the program"))));
    RichEdit_Kestrava->setVisible(EditionFlag != 0);
    RichEdit_Brantel->setVisible(EditionFlag == 0);
    Button_Close = new QPushButton(UiText(551, QStringLiteral("Close")), this);
    Button_Close->setObjectName(QStringLiteral("Button_Close"));
    connect(Button_Close, &QPushButton::clicked, this, &QDialog::close);

    auto* text = new QVBoxLayout;
    text->addWidget(Label_ProgramName);
    text->addWidget(Label_Version);
    text->addSpacing(12);
    text->addWidget(Label_TechnicalSupport);
    text->addWidget(RichEdit_Kestrava);
    text->addWidget(RichEdit_Brantel);
    grid->addWidget(Image1, 0, 0, Qt::AlignTop);
    grid->addLayout(text, 0, 1);
    grid->addWidget(Button_Close, 1, 1, Qt::AlignRight);
    setMinimumWidth(520);
}

bool TfOrvekAbout::HasPicture() const
{
    return LabelHasPicture(Image1);
}

} // namespace orvek
