#include "app/AppIcon.h"

#include <QtGlobal>

// Outside any namespace, as Q_INIT_RESOURCE requires. The resources live in a static library:
// the linker would drop their initialiser unless something refers to it.
static void loadResources() {
    Q_INIT_RESOURCE(app);
}

QIcon appIcon() {
    static const bool loaded = (loadResources(), true);
    (void)loaded;
    QIcon icon;
    for (const int size : kAppIconSizes) {
        icon.addFile(QStringLiteral(":/icons/vqcontactmgr-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}
