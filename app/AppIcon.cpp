#include "app/AppIcon.h"

#include <QtGlobal>

// Outside any namespace, as Q_INIT_RESOURCE requires. The resources live in a static library:
// the linker would drop their initialiser unless something refers to it.
static void loadResources()
{
    Q_INIT_RESOURCE(app);
}

QIcon appIcon()
{
    static const bool loaded = (loadResources(), true);
    (void)loaded;
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/vqcontactmgr-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icons/vqcontactmgr-32.png"), QSize(32, 32));
    return icon;
}
