#pragma once

// The pictures are compiled into the program's static library; the linker keeps them only
// if something asks for them. Call once before the first ":/..." path is used (repeating it
// is harmless). The program's own windows call it themselves.
void InitVarnResources();

class QIcon;
class QString;

// The picture at `path` (":/..."), read once for the whole run: every window that shows the
// same icon shares it.
const QIcon& VarnIcon(const QString& path);
