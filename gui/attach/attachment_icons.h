#pragma once

#include <QIcon>

namespace tf::gui {

// The attachment list's file icons, drawn: 0 drawing, 1 document, 2 spreadsheet, 3 text,
// 4 any other file, 5 picture, 6 sound and video.
QIcon attachmentFileIcon(int kind);
QIcon attachmentFolderIcon();

}  // namespace tf::gui
