#pragma once

#include "text/Types.h"

namespace tovrik::app {

// The JPEG shown in the donation dialog (resources/donation.jpg, compiled in).
[[nodiscard]] BytesView DonationPicture();

} // namespace tovrik::app
