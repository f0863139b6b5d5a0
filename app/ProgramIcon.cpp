#include "ProgramIcon.h"

// The images live in a static library, whose resource initialiser the linker
// would drop unless something calls it. Outside any namespace, as the macro
// declares the initialiser where it is used.
static void LoadIconResource() {
    static const bool loaded = [] {
        Q_INIT_RESOURCE(icon);
        return true;
    }();
    (void)loaded;
}

QIcon ProgramIcon() {
    LoadIconResource();
    QIcon icon;
    icon.addFile(QStringLiteral(":/icon/veltrum-32.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/icon/veltrum-16.png"), QSize(16, 16));
    return icon;
}

QPixmap ProgramIconPicture() {
    LoadIconResource();
    return QPixmap(QStringLiteral(":/icon/veltrum-32.png"));
}
