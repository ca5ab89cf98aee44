#pragma once
// The program's images, cursor and sound, addressed by resource number. The icons and the
// background are drawn here rather than shipped as files, so they stay sharp at any scale.
#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QUrl>

namespace resources {

// A null icon when the number names no icon.
QIcon LoadIcon(int id);
// The icon drawn on a transparent square of `side` pixels (the installed icon files are made
// with it); a null image for other numbers.
QImage RenderIcon(int id, int side);
// The tiled background (bitmap 139) for a screen of this pixel density; a null pixmap for
// other numbers.
QPixmap LoadBitmap(int id, qreal devicePixelRatio = 1.0);
// The hand cursor (cursor 141); the arrow for other numbers.
QCursor LoadCursor(int id);
// The hover sound (sound 144) as a resource address; empty for other numbers.
QUrl SoundUrl(int id);

} // namespace resources
