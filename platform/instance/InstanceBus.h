// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "InstanceProxy.h"

#include <QString>

// Where the running Tallyglow answers on the session bus: it owns the name of
// its interface (org.tallyglow.Tallyglow.xml) while it runs, so that a second
// launch, or a panel's command asking for the title, can tell, and serves the
// interface at the path made from that name.
namespace InstanceBus {
inline QString name() {
    return QString::fromLatin1(InstanceProxy::staticInterfaceName());
}
inline QString path() {
    return u'/' + name().replace(u'.', u'/');
}
} // namespace InstanceBus
