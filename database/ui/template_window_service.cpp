// The service login's tools in the template window: the page that lists who holds which
// template, and the service menu's conversions of model files to plain diagram text and
// back.

#include "core/common_vars.h"
#include "database/template_service_tools.h"
#include "database/template_storage.h"
#include "database/ui/template_window.h"
#include "platform/dialogs.h"
#include "platform/ui/access_keys.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

namespace orvek {

namespace {

// The files the user chose in the open dialog (several come one per line), starting in
// TreesDir, which then becomes the first file's folder. Empty when cancelled.
QStringList ChooseFiles(const QString& caption, const QString& filter, const QString& extension)
{
    if (TreesDir.isEmpty() || !QDir(TreesDir).exists())
        TreesDir = AppDir;
    FileDialogRequest request;
    request.caption = caption;
    request.filter = filter;
    request.initialDir = TreesDir;
    request.defaultExt = extension;
    if (!OpenFileDialog(request))
        return {};
    const QStringList files = request.fileName.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (!files.isEmpty())
        TreesDir = QFileInfo(files.first()).absolutePath();
    return files;
}

void ShowFailures(const TServiceToolResult& result)
{
    const QString message = result.MessageText();
    if (!message.isEmpty())
        MessageDlg(message, TMsgDlgType::mtWarning, mbOK);
}

} // namespace

void TfOrvekDB::ConnectServiceTools()
{
    if (auto* query = TabSheet_Service->findChild<QToolButton*>(QStringLiteral("SpeedButton5")))
        connect(query, &QToolButton::toggled, this, &TfOrvekDB::SpeedButton5Click);
    if (auto* refresh = TabSheet_Service->findChild<QToolButton*>(QStringLiteral("SpeedButton6")))
        connect(refresh, &QToolButton::clicked, this, &TfOrvekDB::SpeedButton6Click);

    // Fixed English, as the service login's other texts.
    LoadSTMfileandsavetodecrypted1
        = menuService->addAction(QStringLiteral("Read Encrypted STM file and save to Decrypted DSTM file"));
    LoadSTMfileandsavetodecrypted1->setObjectName(QStringLiteral("LoadSTMfileandsavetodecrypted1"));
    connect(LoadSTMfileandsavetodecrypted1, &QAction::triggered, this, &TfOrvekDB::LoadSTMfileandsavetodecrypted1Click);
    Lo1 = menuService->addAction(QStringLiteral("Read Decrypted DSTM file and save to Encrypted STM file"));
    Lo1->setObjectName(QStringLiteral("Lo1"));
    connect(Lo1, &QAction::triggered, this, &TfOrvekDB::Lo1Click);
}

void TfOrvekDB::SpeedButton5Click(bool down)
{
    if (down)
        ServiceQueryRefresh();
    else
        DBGrid_Service->setModel(nullptr);
}

void TfOrvekDB::SpeedButton6Click()
{
    auto* query = TabSheet_Service->findChild<QToolButton*>(QStringLiteral("SpeedButton5"));
    if (query && query->isChecked())
        ServiceQueryRefresh();
}

void TfOrvekDB::LoadSTMfileandsavetodecrypted1Click()
{
    Timer1->stop();
    const QStringList files = ChooseFiles(WithoutAccessKey(LoadSTMfileandsavetodecrypted1->text()),
        DiagramFileFilter(QStringLiteral("stm")), QStringLiteral("stm"));
    if (!files.isEmpty())
        ShowFailures(DecryptModelFiles(files, WithoutAccessKey(ActionNewRecFromFileTree->text())));
    if (isVisible())
        Timer1->start();
}

void TfOrvekDB::Lo1Click()
{
    Timer1->stop();
    const QStringList files
        = ChooseFiles(WithoutAccessKey(Lo1->text()), DiagramFileFilter(QStringLiteral("dstm")), QStringLiteral("dstm"));
    if (!files.isEmpty())
        ShowFailures(EncryptDecryptedFiles(files, WithoutAccessKey(ActionNewRecFromFileTree->text())));
    if (isVisible())
        Timer1->start();
}

} // namespace orvek
