// The small pictures beside the task links and the program's icon, drawn at run time.
#pragma once

#include "stagedesk/core/sd_tasks.h"

#include <QIcon>
#include <QPixmap>

inline constexpr int kTaskPictureSize = 20;

// Drawn for kTaskPictureSize and scaled to size.
QPixmap TaskPicture(sd_Task task, int size = kTaskPictureSize);
QIcon ApplicationIcon();
