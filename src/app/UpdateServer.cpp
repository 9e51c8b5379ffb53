#include "app/UpdateServer.h"

#include "app/Links.h"

#include <QUrl>

UpdateServer publisherUpdateServer()
{
    return { Links::UpdateVersionFile, Links::SetupExe, Links::Setup2, UpdatePublicKey };
}

QString signatureOf(const QString& file)
{
    return file + QStringLiteral(".minisig");
}

QString publishedName(const QString& address)
{
    return QUrl(address).fileName();
}
