# The record files: failures, the settings record byte for byte, damaged
# files, the top-ten insertion, and a sanitized fuzzer of the settings reader.
veltrano_add_qtest(tst_storage SOURCES storage/tst_storage.cpp storage/StorageTest.cpp
                   LIBS veltrano_storage)
veltrano_add_sanitized_test(fuzz_settings SOURCES storage/fuzz_settings.cpp storage/StorageTest.cpp
                            LIBS veltrano_storage Qt6::Test)
set_tests_properties(fuzz_settings PROPERTIES TIMEOUT 60)
