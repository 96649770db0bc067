// Time on the performance counter, the finest clock the system offers.
#pragma once

// Milliseconds from an arbitrary origin fixed for the life of the process.
double NowMs();
