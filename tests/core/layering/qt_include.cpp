// Must not compile: the core knows nothing of Qt.
#include <QString>
