# SPDX-License-Identifier: GPL-3.0-or-later
# The settings file: failures, the record byte for byte, damaged files, the
# top-ten insertion, and the dialogs that store and show it on the real main
# window. Its reader is fuzzed in fuzz.cmake.
veltrano_add_qtest(tst_storage SOURCES storage/tst_storage.cpp LIBS veltrano_storage)
veltrano_add_qtest(tst_dialogs SOURCES ui/tst_dialogs.cpp LIBS veltrano_uitest_support)
# Links, FIFOs, a full or failing disk, a second copy, folders no path names.
veltrano_add_qtest(tst_files SOURCES storage/tst_files.cpp LIBS veltrano_storage)
# Another process holding the folder's lock while the game writes a result.
veltrano_add_qtest(tst_folder_lock SOURCES storage/tst_folder_lock.cpp LIBS veltrano_storage)
