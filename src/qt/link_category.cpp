#include "link_category.h"

Q_LOGGING_CATEGORY(lcLink, "quelo.link", QtWarningMsg)
