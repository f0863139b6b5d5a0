#pragma once

#include <QIcon>
#include <QPixmap>

// The program icon, a 32 by 32 and a 16 by 16 image.
QIcon ProgramIcon();

// Its 32 by 32 image, as the about dialog and the welcome page show it.
QPixmap ProgramIconPicture();
