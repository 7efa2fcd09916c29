# The settings file: failures, the record byte for byte, damaged files, the
# top-ten insertion, a sanitized fuzzer of its reader, and the dialogs that
# store and show it on the real main window.
veltrano_add_qtest(tst_storage SOURCES storage/tst_storage.cpp LIBS veltrano_storage)
veltrano_add_sanitized_test(fuzz_settings SOURCES storage/fuzz_settings.cpp
                            LIBS veltrano_storage Qt6::Test)
veltrano_add_qtest(tst_dialogs SOURCES ui/tst_dialogs.cpp LIBS veltrano_uitest_support)
# Links, FIFOs, a full or failing disk, a second copy, folders no path names.
veltrano_add_qtest(tst_files SOURCES storage/tst_files.cpp LIBS veltrano_storage)
