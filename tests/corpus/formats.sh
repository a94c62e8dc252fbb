# The bundled formats and their templates, for the corpus scripts and the
# template benchmark (sourced):
#   corpus_formats   the formats, in the order the checks run them
#   template_of F    the template file (in examples/templates) of format F
corpus_formats="bmp wav png gif jpeg ico zip gzip tar midi elf pe ttf"

template_of() {
  case "$1" in
    bmp) echo Bitmap.js ;; wav) echo Wave.vbs ;; png) echo Png.js ;; gif) echo Gif.js ;;
    jpeg) echo Jpeg.js ;; ico) echo Icon.js ;; zip) echo Zip.vbs ;; gzip) echo Gzip.vbs ;;
    tar) echo Tar.vbs ;; midi) echo Midi.vbs ;; elf) echo Elf.js ;; pe) echo Pe.vbs ;;
    ttf) echo TrueType.js ;;
  esac
}
