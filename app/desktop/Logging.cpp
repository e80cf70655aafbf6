#include "desktop/Logging.h"

Q_LOGGING_CATEGORY(lcWordsFolder, "jabbly.words", QtInfoMsg)
