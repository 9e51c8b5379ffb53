#pragma once

#include <QString>
#include <QStringList>

// The people and the rights holder the About window names.
namespace Credits {

inline const QString Copyright = QStringLiteral("Copyright © 2009 Uferwacht Angelsport");
inline const QString Programmer = QStringLiteral("Jannik Oltmanns");
inline const QStringList BetaTesters { QStringLiteral("Frauke Brinkhoff"),
    QStringLiteral("Ole Mehrtens") };

} // namespace Credits
