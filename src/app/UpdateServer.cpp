#include "app/UpdateServer.h"

#include "app/Links.h"

UpdateServer publisherUpdateServer()
{
    return { Links::UpdateVersionFile, Links::SetupExe, Links::Setup2, UpdatePublicKey };
}

QString signatureOf(const QString& file)
{
    return file + QStringLiteral(".minisig");
}
