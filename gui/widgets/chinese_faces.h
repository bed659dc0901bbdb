#pragma once

namespace tf::gui {

// After the application is made: the faces the tables ask for by their Windows names stand
// in as Simplified Chinese faces of the same kind, and Chinese characters in any other face
// come from a Simplified Chinese face, on screen and on paper alike.
void useSimplifiedChineseFaces();

}  // namespace tf::gui
