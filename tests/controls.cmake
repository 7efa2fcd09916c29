# SPDX-License-Identifier: GPL-3.0-or-later
# The custom controls: the balloon hint and its service, the shadowed label,
# the logo, and the splash and about windows built from them.
veltrano_add_qtest(tst_balloon SOURCES controls/tst_balloon.cpp LIBS veltrano_controls)
veltrano_add_qtest(tst_controls SOURCES controls/tst_controls.cpp LIBS veltrano_uitest_support)
