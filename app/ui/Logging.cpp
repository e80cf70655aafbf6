#include "ui/Logging.h"

Q_LOGGING_CATEGORY(lcHelp, "jabbly.help", QtInfoMsg)
Q_LOGGING_CATEGORY(lcLists, "jabbly.lists", QtInfoMsg)
Q_LOGGING_CATEGORY(lcExport, "jabbly.export", QtInfoMsg)
Q_LOGGING_CATEGORY(lcVoice, "jabbly.voice", QtInfoMsg)
