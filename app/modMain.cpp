#include "app/modMain.h"

namespace modMain {

QString sServer;
std::int32_t lPort = 0;
QString sAuthorization;

}  // namespace modMain
