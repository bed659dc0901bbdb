if(TF_SANITIZE)
  set(tf_sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=all
      -fno-omit-frame-pointer)
  add_compile_options(${tf_sanitize_flags})
  add_link_options(${tf_sanitize_flags})
endif()

if(TF_FUZZ)
  # Coverage for libFuzzer across the whole core, not only the target's own file.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
