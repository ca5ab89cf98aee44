#pragma once
// The program's images, cursor and sound, addressed by resource number. The icons and the
// background are drawn here rather than shipped as files, so they stay sharp at any scale.
#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QUrl>

namespace resources {

// A null icon when the number names no icon.
QIcon LoadIcon(int id);
// The tiled background (bitmap 139); a null pixmap for other numbers.
QPixmap LoadBitmap(int id);
// The hand cursor (cursor 141); the arrow for other numbers.
QCursor LoadCursor(int id);
// The hover sound (sound 144) as a resource address; empty for other numbers.
QUrl SoundUrl(int id);

} // namespace resources
