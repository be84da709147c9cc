// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace kalibrix {

// The folder every save of the program lands in, `folderName` being the
// results folder's own name: beside the executable in `programDir` wherever
// this process can write there (an existing folder that takes new files, or
// none yet in a folder that does), as in a build folder or an install in the
// user's home; otherwise the same name in the user's data folder,
// $XDG_DATA_HOME/kalibrix (~/.local/share/kalibrix when the variable is
// unset, empty or relative), as under /usr/bin. Only decides: nothing is
// created, so that naming the folder (the guide does) leaves no trace.
QString ResultsLocation(const QString& programDir, const QString& folderName);

} // namespace kalibrix
