// The barcode preview form.
#include "webdemo/IWUnit1.h"
