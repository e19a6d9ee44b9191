#pragma once
// The barcode preview form.
