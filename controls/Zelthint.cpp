#include "Zelthint.h"

TZeltHint::TZeltHint(QObject *owner) : QObject(owner) {}
