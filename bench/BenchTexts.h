#pragma once
// The texts the export benchmarks run on, shared by bench_page and
// bench_export: Western prose and prose in many scripts, generated to the
// wanted number of characters.

#include <cstddef>
#include <iterator>
#include <random>

#include "core/text/Text.h"

namespace brenvik::bench {

// Prose with the usual mix of punctuation, line breaks, numbers, accented
// and non-Western letters, repeated up to the wanted number of characters.
inline Text Prose(std::size_t characters) {
  const Text paragraph =
      U"The old town lies on a bend of the river, and its narrow streets climb the hill towards the "
      U"castle. In 1843 a fire destroyed most of the wooden houses; the café on the square, however, "
      U"survived. Visitors still say: \"It's the best coffee in the region!\" Na rynku stoi żółty dom, "
      U"a w nim mała księgarnia. Старый мост ведёт к собору.\r\nOn market days the square is full of "
      U"stalls selling cheese, bread, honey and well-known local wines.\r\n\r\n";
  Text text = U"A first sentence stays whole. ";
  text.reserve(characters + paragraph.size());
  while (text.size() < characters) text += paragraph;
  text.resize(characters);
  return text;
}

// Prose in many scripts: passages of Chinese, Japanese, Thai, Hindi, Tamil,
// Bengali, Amharic, Arabic, Korean, Russian, Greek, Vietnamese (with its
// accents stored apart, as a PDF gives them) and French, one after the other
// in a random order, to the wanted number of characters.
inline Text MixedProse(std::size_t characters) {
  static const char32_t* const kPassages[] = {
      U"我们今天去公园玩。天气很好，阳光明媚，很多人在湖边散步。孩子们在草地上放风筝，老人们在树下下棋。\r\n",
      U"昨日は友達と一緒に京都へ行きました。朝早く新幹線に乗って、九時ごろ京都駅に着きました。\r\n",
      U"ตลาดน้ำดำเนินสะดวกอยู่ไม่ไกลจากกรุงเทพ แม่ค้าพายเรือขายผลไม้ ขนม และก๋วยเตี๋ยว. ",
      U"आज सुबह मौसम बहुत सुहावना था। मैं अपने दोस्तों के साथ पास के पार्क में टहलने गया। ",
      U"சென்னை தமிழ்நாட்டின் தலைநகரம் ஆகும். மெரினா கடற்கரை உலகின் நீளமான கடற்கரைகளில் ஒன்று. ",
      U"আমাদের গ্রামের পাশে একটি ছোট নদী আছে। প্রতিদিন সকালে জেলেরা নৌকা নিয়ে মাছ ধরতে যায়। ",
      U"አዲስ አበባ የኢትዮጵያ ዋና ከተማ ናት። ቡና በኢትዮጵያ ባህል ውስጥ ትልቅ ቦታ አለው። ",
      U"القاهرة هي عاصمة مصر وأكبر مدنها. يزور السياح الأهرامات وأبو الهول كل يوم.\r\n",
      U"서울은 한국의 수도입니다. 주말에는 많은 사람들이 한강에서 자전거를 탑니다. ",
      U"Старый мост ведёт к собору, а на рынке продают мёд и хлеб. ",
      U"Η παλιά πόλη βρίσκεται στην όχθη του ποταμού. ",
      U"Ha\u0300 No\u0323\u0302i la\u0300 thu\u0309 đo\u0302 cu\u0309a Vie\u0323\u0302t Nam. ",
      U"Le marché de Noël s'installe chaque année sur la place\u00a0! ",
  };
  std::mt19937 rng(2024);
  Text text = U"A first sentence stays whole. ";
  text.reserve(characters + 256);
  while (text.size() < characters) text += kPassages[rng() % std::size(kPassages)];
  text.resize(characters);
  return text;
}

}  // namespace brenvik::bench
