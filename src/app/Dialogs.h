#pragma once
#include "catalogue/ProgramsView.h"
#include "common/MessageBoxes.h"
#include "editing/EditDialogs.h"
#include "log/LogView.h"
#include "runner/QueueDialogs.h"

namespace quillet {

// Every box and dialog of the program: the one class the shell implements.
// Each part of the program sees only the interfaces it uses.
class Dialogs : public MessageBoxes, public LogDialogs, public EditDialogs, public FindDialogs,
                public QueueDialogs {};

}  // namespace quillet
