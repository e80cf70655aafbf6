#include "session/Logging.h"

Q_LOGGING_CATEGORY(lcSession, "jabbly.session", QtInfoMsg)
