#include "resinit.h"

#include <QtGlobal>

void quellnetInitResources()
{
    Q_INIT_RESOURCE(quellnet);
}
