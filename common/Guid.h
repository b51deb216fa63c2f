#pragma once

#include <QString>

class AppLog;

// 32 uppercase hexadecimal digits of a new random identifier.
QString CreateGUID(AppLog& log);
