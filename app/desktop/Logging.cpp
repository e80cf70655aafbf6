#include "desktop/Logging.h"

Q_LOGGING_CATEGORY(lcWordsFolder, "jabbly.words", QtInfoMsg)
Q_LOGGING_CATEGORY(lcLauncher, "jabbly.launcher", QtInfoMsg)
