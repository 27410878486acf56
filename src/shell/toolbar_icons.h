#pragma once

#include <QIcon>
#include <QString>

namespace qv::shell {

// The picture of a toolbar button, by its key: small drawings that read the
// same under every style and theme.
QIcon toolIcon(const QString& key);

} // namespace qv::shell
