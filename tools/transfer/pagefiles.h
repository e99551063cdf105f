#pragma once

#include <QByteArray>

#include "httpreply.h"

// The handheld page's own files, built into the utility: the page, its script and styles, its
// service worker and the barcode reader it falls back on. They hold no shop data, so any browser may
// fetch them.

// The file `path` asks for ("/" is the page itself), or 404.
HttpReply pageFile(const QByteArray& path);
