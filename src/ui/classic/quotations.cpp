#include "ui/classic/quotations.h"

#include <random>

#include "core/report/number_format.h"

namespace pellmar {

const std::array<Quotation, kQuotationCount>& quotations() {
  static const std::array<Quotation, kQuotationCount> table = {{
      {"Nothing in biology makes sense except in the light of evolution.", "Theodosius Dobzhansky"},
      {"There is grandeur in this view of life.", "Charles Darwin"},
      {"Ignorance more frequently begets confidence than does knowledge.", "Charles Darwin"},
      {"In all things of nature there is something of the marvellous.", "Aristotle"},
      {"Nature does nothing in vain.", "Aristotle"},
      {"Look deep into nature, and then you will understand everything better.", "Albert Einstein"},
      {"The important thing is not to stop questioning.", "Albert Einstein"},
      {"Chance favours only the prepared mind.", "Louis Pasteur"},
      {"If I have seen further it is by standing on the shoulders of giants.", "Isaac Newton"},
      {"Nature is pleased with simplicity.", "Isaac Newton"},
      {"Science is a way of thinking much more than it is a body of knowledge.", "Carl Sagan"},
      {"Extraordinary claims require extraordinary evidence.", "Carl Sagan"},
      {"If you wish to make an apple pie from scratch, you must first invent the universe.",
       "Carl Sagan"},
      {"To keep every cog and wheel is the first precaution of intelligent tinkering.",
       "Aldo Leopold"},
      {"A thing is right when it tends to preserve the integrity, stability, and beauty of the "
       "biotic community.",
       "Aldo Leopold"},
      {"We abuse land because we regard it as a commodity belonging to us.", "Aldo Leopold"},
      {"In every walk with nature one receives far more than he seeks.", "John Muir"},
      {"When we try to pick out anything by itself, we find it hitched to everything else in "
       "the Universe.",
       "John Muir"},
      {"The clearest way into the Universe is through a forest wilderness.", "John Muir"},
      {"In nature nothing exists alone.", "Rachel Carson"},
      {"Those who contemplate the beauty of the earth find reserves of strength that will "
       "endure as long as life lasts.",
       "Rachel Carson"},
      {"Adopt the pace of nature: her secret is patience.", "Ralph Waldo Emerson"},
      {"What is a weed? A plant whose virtues have not yet been discovered.",
       "Ralph Waldo Emerson"},
      {"Go to the ant, thou sluggard; consider her ways, and be wise.", "Proverbs 6:6"},
      {"Study nature, not books.", "Louis Agassiz"},
      {"All models are wrong, but some are useful.", "George E. P. Box"},
      {"To call in the statistician after the experiment is done may be no more than asking him "
       "to perform a post-mortem examination: he may be able to say what the experiment died "
       "of.",
       "Ronald A. Fisher"},
      {"An approximate answer to the right problem is worth a good deal more than an exact "
       "answer to an approximate problem.",
       "John W. Tukey"},
      {"The best thing about being a statistician is that you get to play in everyone's "
       "backyard.",
       "John W. Tukey"},
      {"Statistics is the grammar of science.", "Karl Pearson"},
      {"Science is the great antidote to the poison of enthusiasm and superstition.", "Adam Smith"},
      {"Nothing in life is to be feared, it is only to be understood.", "Marie Curie"},
      {"I am among those who think that science has great beauty.", "Marie Curie"},
      {"Research is to see what everybody else has seen, and to think what nobody else has "
       "thought.",
       "Albert Szent-Gy\u00f6rgyi"},
      {"Equipped with his five senses, man explores the universe around him and calls the "
       "adventure Science.",
       "Edwin Hubble"},
      {"The universe is full of magical things patiently waiting for our wits to grow sharper.",
       "Eden Phillpotts"},
      {"The aim of science is not to open the door to infinite wisdom, but to set a limit to "
       "infinite error.",
       "Bertolt Brecht"},
      {"One touch of nature makes the whole world kin.", "William Shakespeare"},
      {"To see a World in a Grain of Sand, and a Heaven in a Wild Flower.", "William Blake"},
      {"Nature never did betray the heart that loved her.", "William Wordsworth"},
      {"Come forth into the light of things, let Nature be your teacher.", "William Wordsworth"},
      {"The scientist is not a person who gives the right answers, he's one who asks the right "
       "questions.",
       "Claude L\u00e9vi-Strauss"},
      {"What we observe is not nature itself, but nature exposed to our method of questioning.",
       "Werner Heisenberg"},
      {"The first principle is that you must not fool yourself, and you are the easiest person "
       "to fool.",
       "Richard P. Feynman"},
      {"Nature uses only the longest threads to weave her patterns.", "Richard P. Feynman"},
      {"It doesn't matter how beautiful your theory is; if it doesn't agree with experiment, "
       "it's wrong.",
       "Richard P. Feynman"},
      {"The saddest aspect of life right now is that science gathers knowledge faster than "
       "society gathers wisdom.",
       "Isaac Asimov"},
      {"The good thing about science is that it's true whether or not you believe in it.",
       "Neil deGrasse Tyson"},
      {"In the end we will conserve only what we love; we will love only what we understand; "
       "and we will understand only what we are taught.",
       "Baba Dioum"},
      {"The little things that run the world.", "Edward O. Wilson, of the invertebrates"},
      {"Philosophy is written in that great book which ever lies before our eyes, the "
       "universe; it is written in the language of mathematics.",
       "Galileo Galilei"},
      {"An expert is a person who has made all the mistakes that can be made in a very narrow "
       "field.",
       "Niels Bohr"},
      {"Not everything that can be counted counts, and not everything that counts can be "
       "counted.",
       "William Bruce Cameron"},
  }};
  return table;
}

std::string instructionText() {
  return std::string(
             "1. Open a data file. 2. Press Basic RUN to analyze the raw data and calculate ") +
         "the age-stage-specific consumption rate. 3. Select a figure to display.  " +
         "You can click Jackknife or Bootstrap to estimate the standard errors of the " +
         "net predation rate.  " +
         "Comments and suggestions are welcome: please write to pellmar-feedback@example.org.";
}

std::string quotationText(int k) {
  if (k == kQuotationCount) return instructionText();
  const Quotation& q = quotations().at(static_cast<std::size_t>(k));
  return std::string("\u201c") + q.text + "\u201d \u2014 " + q.author;
}

QuotationChoice chooseQuotations(int clockSecond) {
  std::minstd_rand generator(static_cast<std::minstd_rand::result_type>(clockSecond));
  // Uniform in [0, 1): the generator's range divided by one more than its width.
  const auto uniform = [&generator] {
    return static_cast<double>(generator() - std::minstd_rand::min()) /
           (static_cast<double>(std::minstd_rand::max() - std::minstd_rand::min()) + 1.0);
  };
  const double r1 = uniform();
  const double r2 = uniform();
  return QuotationChoice{static_cast<int>(roundToDecimals(r1 * 52, 0)),
                         static_cast<int>(roundToDecimals(r2 * 53, 0))};
}

}  // namespace pellmar
