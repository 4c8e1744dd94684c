#include "document/EditDialogs.h"

#include "document/DocHost.h"

CEditDialogs& CDocHost::EditDialogs() {
  static CNoEditDialogs none;
  return none;
}
