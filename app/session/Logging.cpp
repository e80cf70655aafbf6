#include "session/Logging.h"

Q_LOGGING_CATEGORY(lcSession, "jabbly.session", QtInfoMsg)
Q_LOGGING_CATEGORY(lcWords, "jabbly.words", QtInfoMsg)
