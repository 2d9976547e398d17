// The program's own pictures, drawn in code so that no binary file has to be
// carried: the "PICNOTFOUND" stand-in shown where no game picture is shown,
// the "CircleSlash" sign shown where no combat picture applies, and the
// program icon.
#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace vorlane {

// 192 by 192: black, with "Picture not / found or formula / entered in /
// text box" in four lines of yellow italic text.
QImage PicNotFoundImage();
QPixmap PicNotFoundBitmap();

// 40 by 40: a red circle with a diagonal bar on black.
QImage CircleSlashImage();
QPixmap CircleSlashBitmap();

// The program's window icon, in the usual sizes.
QIcon ProgramIcon();

}  // namespace vorlane
