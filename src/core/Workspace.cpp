// Workspace-wide operations that span subsystems.
#include "Workspace.h"
